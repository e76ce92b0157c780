// The two stacks of the same 32 cards, addressed by position 1 to 32 (1 is turned up first).
#pragma once

#include <array>
#include <cassert>
#include <cstdint>

// Names one of the 32 cards, 1 to 32, in the order of the picture catalogue.
using CardCode = std::int32_t;

constexpr int StackSize = 32;

class TStack {
public:
    CardCode& operator[](int position) {
        assert(position >= 1 && position <= StackSize);
        return codes[position - 1];
    }
    CardCode operator[](int position) const {
        assert(position >= 1 && position <= StackSize);
        return codes[position - 1];
    }

private:
    // Zeros until the window's creation handler orders the stacks.
    std::array<CardCode, StackSize> codes{};
};

extern TStack Stack1;
extern TStack Stack2;

// Position p holds code p.
void SetOrderedState(TStack& stack);
