// One stack with the two picture boxes that show it: the face-up slot and the pile.
#pragma once

#include "CardStack.h"

class TImage;

struct TCardColumn {
    const TStack& Stack; // read as it is when each position comes up, never copied
    TImage* FaceUp;
    TImage* Pile;
};
