#pragma once

#include "CardStack.h"

// Gives the stack a new order that depends only on the generator state, never on the stack's
// previous order. Draws exactly 31 numbers.
void ShuffleStack(TStack& stack);
