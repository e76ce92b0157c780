#include "ShuffleCommand.h"

#include "CardImages.h"
#include "ShuffleStack.h"
#include "TImage.h"
#include "WaitPumping.h"

namespace {
constexpr int ShuffleFlickers = 10;
constexpr int ShuffleFlickerMs = 250;
} // namespace

void ShuffleAndAnimate(TStack& stack, TImage* pile) {
    ShuffleStack(stack);
    // Only the empty picture is painted during the pauses; the full one shows again at the end.
    for (int cycle = 0; cycle < ShuffleFlickers; ++cycle) {
        pile->Picture->LoadFromFile(PileImage::Empty);
        WaitPumping(ShuffleFlickerMs);
        pile->Picture->LoadFromFile(PileImage::WithCards);
    }
}
