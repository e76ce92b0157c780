#include "CardImages.h"

#include <array>

const char* const CardImageFolder = "Tamselspiel\\";

namespace {

// Indexed by code - 1; within a suit the order is the catalogue's, not rank order.
constexpr std::array<const char*, StackSize> CardNames = {
    "herz_koenig", "herz_dame",  "herz_ass",    "herz_zehn",  "herz_neun",    "herz_acht",
    "herz_sieben", "herz_bube",  "karo_koenig", "karo_dame",  "karo_ass",     "karo_zehn",
    "karo_neun",   "karo_acht",  "karo_sieben", "karo_bube",  "kreuz_koenig", "kreuz_dame",
    "kreuz_ass",   "kreuz_zehn", "kreuz_neun",  "kreuz_acht", "kreuz_sieben", "kreuz_bube",
    "sch_koenig",  "sch_dame",   "sch_ass",     "sch_zehn",   "sch_neun",     "sch_acht",
    "sch_sieben",  "sch_bube",
};

} // namespace

std::string CardImagePath(CardCode code) {
    const char* name = (code >= 1 && code <= StackSize) ? CardNames[code - 1] : "";
    return std::string(CardImageFolder) + name + ".jpg";
}

namespace PileImage {
const char* const WithCards = "Tamselspiel\\stapel1.jpg";
const char* const WithCardsAlt = "Tamselspiel\\stapel3.jpg";
const char* const LastCard = "Tamselspiel\\stapel2.jpg";
const char* const Empty = "Tamselspiel\\leer1.jpg";
} // namespace PileImage
