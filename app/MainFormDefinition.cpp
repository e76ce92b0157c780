#include "MainFormDefinition.h"

#include "InitialPictures.h"
#include "PictureDescriptions.h"
#include "TForm1.h"

namespace {

std::string DescribeWindowPicture(const std::string& source) {
    if (source == InitialPicture::Blank)
        return "leer";
    if (source == InitialPicture::FanRight || source == InitialPicture::FanLeft)
        return "Stapel";
    return PictureDescription(source);
}

const TControlDefinition Controls[] = {
    // clang-format off
    {&TForm1::Image1, "Image1", 317, 21, 137, 209, nullptr, false, -1, nullptr, true, InitialPicture::Blank},
    {&TForm1::Image2, "Image2", 479, 21, 137, 209, nullptr, false, -1, nullptr, true, InitialPicture::Blank},
    {&TForm1::Image3, "Image3", 317, 242, 137, 209, nullptr, false, -1, nullptr, true, InitialPicture::FanRight},
    {&TForm1::Image4, "Image4", 479, 242, 137, 209, nullptr, false, -1, nullptr, true, InitialPicture::FanLeft},
    {&TForm1::Label1, "Label1", 63, 379, 138, 24, "Geschwindigkeit", true},
    {&TForm1::Label2, "Label2", 63, 314, 60, 24, "schnell", true},
    {&TForm1::Label3, "Label3", 63, 450, 71, 24, "langsam", true},
    {&TForm1::Label4, "Label4", 468, 463, 5, 24, "", true},
    {&TForm1::Button1, "Button1", 31, 249, 215, 39, "Beide Stapel aufbl\u00e4ttern", true, 0, &TForm1::Button1Click},
    {&TForm1::ScrollBar1, "ScrollBar1", 41, 320, 16, 150, nullptr, false, 1, &TForm1::ScrollBar1Change,
     false, nullptr, TScrollBarSettings{true, 0, 100, 1, 1, 0, 0}, "Geschwindigkeit"},
    {&TForm1::Button2, "Button2", 31, 15, 215, 39, "Stapel 1 mischen", true, 2, &TForm1::Button2Click},
    {&TForm1::Button3, "Button3", 31, 73, 215, 40, "Stapel 2 mischen", true, 3, &TForm1::Button3Click},
    {&TForm1::Button4, "Button4", 31, 132, 215, 39, "Stapel 1 aufbl\u00e4ttern", true, 4, &TForm1::Button4Click},
    {&TForm1::Button5, "Button5", 31, 190, 215, 40, "Stapel 2 aufbl\u00e4ttern", true, 5, &TForm1::Button5Click},
    // clang-format on
};

} // namespace

const TFormDefinition& MainFormDefinition() {
    static const TFormDefinition definition{
        "Quendravo Problem",
        241,
        119,
        653,
        530,
        TFont{"MS Sans Serif", 10},
        TFont{"MS Sans Serif", 19},
        &TForm1::FormCreate,
        Controls,
        DescribeWindowPicture,
    };
    return definition;
}
