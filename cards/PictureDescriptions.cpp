#include "PictureDescriptions.h"

#include "CardImages.h"

#include <array>

namespace {

constexpr std::array<const char*, 4> Suits = {"Herz", "Karo", "Kreuz", "Schippe"};
constexpr std::array<const char*, 8> Ranks = {"K\xC3\xB6nig", "Dame", "Ass",    "Zehn",
                                              "Neun",         "Acht", "Sieben", "Bube"};

} // namespace

std::string CardDisplayName(CardCode code) {
    if (code < 1 || code > StackSize)
        return {};
    return std::string(Suits[(code - 1) / 8]) + " " + Ranks[(code - 1) % 8];
}

std::string PictureDescription(const std::string& path) {
    for (CardCode code = 1; code <= StackSize; ++code)
        if (path == CardImagePath(code))
            return CardDisplayName(code);
    if (path == PileImage::WithCards || path == PileImage::WithCardsAlt)
        return "Stapel";
    if (path == PileImage::LastCard)
        return "letzte Karte";
    if (path == PileImage::Empty)
        return "leer";
    return {};
}
