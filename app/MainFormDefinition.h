// The main window as data: its own properties and every control with its stored properties and
// handler binding, in the order in which they are created.
#pragma once

#include "TFont.h"

#include <optional>
#include <span>
#include <string>
#include <variant>

class TButton;
class TForm1;
class TImage;
class TLabel;
class TObject;
class TScrollBar;

using TForm1Handler = void (TForm1::*)(TObject* Sender);

struct TScrollBarSettings {
    bool Vertical;
    int Min, Max, SmallChange, LargeChange, PageSize, Position;
};

struct TControlDefinition {
    // The field that receives the control; its type decides the control's kind.
    std::variant<TImage * TForm1::*, TLabel * TForm1::*, TButton * TForm1::*,
                 TScrollBar * TForm1::*>
        Field;
    const char* Name;
    int Left, Top, Width, Height;
    const char* Caption = nullptr; // UTF-8
    bool BigFont = false;
    int TabOrder = -1;
    TForm1Handler Handler = nullptr; // OnClick of a button, OnChange of a scroll bar
    bool Stretch = false;
    const char* Picture = nullptr; // a picture stored in the program
    std::optional<TScrollBarSettings> Scrolling = std::nullopt;
    const char* AccessibleName = nullptr; // for a control without a caption of its own
};

struct TFormDefinition {
    const char* Caption;
    int Left, Top, Width, Height; // outer rectangle
    TFont Font;
    TFont BigFont; // for controls that do not follow the window font
    TForm1Handler OnCreate;
    std::span<const TControlDefinition> Controls;
    // Words for what a picture box shows, from the picture's source; UTF-8.
    std::string (*DescribePicture)(const std::string& source);
};

const TFormDefinition& MainFormDefinition();
