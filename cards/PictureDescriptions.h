// What each picture of the folder shows, in words, for screen readers.
#pragma once

#include "CardStack.h"

#include <string>

// "Herz König", "Schippe Zehn", ...; empty outside 1 to 32. UTF-8.
std::string CardDisplayName(CardCode code);

// The words for a picture path of the folder: a card's name, "Stapel", "letzte Karte" or
// "leer"; empty for a path that is none of these.
std::string PictureDescription(const std::string& path);
