// Adapting a form laid out at 96 pixels per inch, with a text height of 13, to this screen.
#pragma once

#include <functional>

struct TFormScaling {
    int WindowFontHeight; // the window font's character height on this screen
    int Numerator;        // controls and own fonts scale by Numerator / Denominator
    int Denominator;
};

constexpr int DesignPixelsPerInch = 96;
constexpr int DesignTextHeight = 13;

// textHeightAt measures a line of text on "0" in the window font at a given character height.
TFormScaling ComputeFormScaling(int screenPixelsPerInch, int designFontHeight,
                                const std::function<int(int fontHeight)>& textHeightAt);

// value * numerator / denominator, rounded to the nearest integer.
int MulDiv(int value, int numerator, int denominator);
