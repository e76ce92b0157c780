// A control's font as the window definition states it: a family and a character height in pixels.
#pragma once

#include <string>

struct TFont {
    std::string Name = "MS Sans Serif";
    int Height = 10; // character height in pixels, without internal leading
};
