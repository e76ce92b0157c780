#pragma once

#include "CardStack.h"

class TImage;

// Gives the stack a new order, then flickers its pile for a fixed 2.5 s, whatever the speed.
void ShuffleAndAnimate(TStack& stack, TImage* pile);
