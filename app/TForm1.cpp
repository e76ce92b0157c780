#include "TForm1.h"

#include "FormBuilder.h"
#include "MainFormDefinition.h"
#include "ShuffleCommand.h"
#include "Speed.h"
#include "TurnUpCommands.h"

TForm1* Form1 = nullptr;

TForm1::TForm1() {
    BuildForm(*this, MainFormDefinition());
}

void TForm1::FormCreate(TObject*) {
    SetOrderedState(Stack1);
    SetOrderedState(Stack2);
    ScrollBar1->SetPosition(StartSpeedPosition);
    DelayMs = DelayForPosition(StartSpeedPosition);
}

void TForm1::ScrollBar1Change(TObject*) {
    DelayMs = DelayForPosition(ScrollBar1->Position());
}

void TForm1::Button1Click(TObject*) {
    TurnUpBothStacks({Stack1, Image1, Image3}, {Stack2, Image2, Image4}, Label4);
}

void TForm1::Button4Click(TObject*) {
    TurnUpOneStack({Stack1, Image1, Image3});
}

void TForm1::Button5Click(TObject*) {
    TurnUpOneStack({Stack2, Image2, Image4});
}

void TForm1::Button2Click(TObject*) {
    ShuffleAndAnimate(Stack1, Image3);
}

void TForm1::Button3Click(TObject*) {
    ShuffleAndAnimate(Stack2, Image4);
}
