// The program takes no arguments and reads no environment of its own.
#include "TApplication.h"
#include "TForm1.h"

int main() {
    TApplication application;
    Application->CreateForm(Form1);
    Application->Run();
    return 0;
}
