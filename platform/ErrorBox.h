// The default error display.
#pragma once

#include <string>

// The message with a full stop appended when its last character's code is above that of ".".
std::string ErrorBoxText(const std::string& message);

// A modal box with the stop icon and an OK button; the main window takes no input while it is up.
void ShowErrorBox(const std::string& title, const std::string& text);
