#pragma once

#include <string>

// The executable's file name without its folder, cut before its first ".", with every character
// after the first in lower case.
std::string ApplicationTitle(const std::string& executablePath);
