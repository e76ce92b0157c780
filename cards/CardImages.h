// Where each card face and pile state lies in the picture folder. Paths keep the "\" separator;
// the platform maps it to the host's when it opens the file.
#pragma once

#include "CardStack.h"

#include <string>

extern const char* const CardImageFolder;

// The folder, the card's name and ".jpg". Codes outside 1 to 32 have no name.
std::string CardImagePath(CardCode code);

namespace PileImage {
extern const char* const WithCards;    // stapel1: cards left; the full pile after a shuffle
extern const char* const WithCardsAlt; // stapel3: cards left, the alternate view
extern const char* const LastCard;     // stapel2: only the last card left
extern const char* const Empty;        // leer1: an empty pile or an empty face-up slot
} // namespace PileImage
