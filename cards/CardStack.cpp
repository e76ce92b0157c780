#include "CardStack.h"

TStack Stack1;
TStack Stack2;

void SetOrderedState(TStack& stack) {
    for (int position = 1; position <= StackSize; ++position)
        stack[position] = position;
}
