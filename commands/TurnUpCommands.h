// Turning stacks up card by card, at the pace DelayMs sets.
#pragma once

#include "CardColumn.h"

class TLabel;

// Shows each card of the column's stack in its face-up slot while the pile shrinks.
void TurnUpOneStack(const TCardColumn& column);

// Turns both stacks up in lock-step and counts in count's caption the positions at which both
// show the same card.
void TurnUpBothStacks(const TCardColumn& left, const TCardColumn& right, TLabel* count);
