#include "ShuffleStack.h"

#include "RandomBelow.h"

#include <utility>

void ShuffleStack(TStack& stack) {
    SetOrderedState(stack);
    for (int k = StackSize; k >= 2; --k) {
        const int j = RandomBelow(k) + 1;
        std::swap(stack[k], stack[j]);
    }
}
