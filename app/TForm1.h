// The program's one window: two stacks of cards, the commands that shuffle and turn them up, and
// the count of positions at which both stacks show the same card.
#pragma once

#include "TButton.h"
#include "TForm.h"
#include "TImage.h"
#include "TLabel.h"
#include "TScrollBar.h"

class TForm1 : public TForm {
public:
    TForm1();

    TImage* Image1;
    TButton* Button1;
    TImage* Image2;
    TImage* Image3;
    TImage* Image4;
    TLabel* Label1;
    TScrollBar* ScrollBar1;
    TLabel* Label2;
    TLabel* Label3;
    TButton* Button2;
    TButton* Button3;
    TButton* Button4;
    TButton* Button5;
    TLabel* Label4;

    void Button1Click(TObject* Sender);
    void FormCreate(TObject* Sender);
    void ScrollBar1Change(TObject* Sender);
    void Button4Click(TObject* Sender);
    void Button5Click(TObject* Sender);
    void Button2Click(TObject* Sender);
    void Button3Click(TObject* Sender);
};

extern TForm1* Form1;
