#include "TurnUpCommands.h"

#include "CardImages.h"
#include "Speed.h"
#include "TImage.h"
#include "TLabel.h"
#include "WaitPumping.h"

#include <string>
#include <utility>

namespace {

// The pile's pictures during one run. A and B swap at every position, so a pile with cards left
// alternates between its two views; C is the last card.
struct TPileCycle {
    std::string A = PileImage::WithCards;
    std::string B = PileImage::WithCardsAlt;
    std::string C = PileImage::LastCard;
};

void AddMatch(TLabel* count) {
    count->SetCaption(std::to_string(std::stoi(count->Caption()) + 1));
}

} // namespace

void TurnUpOneStack(const TCardColumn& column) {
    TPileCycle pile;
    for (int i = 1; i <= StackSize; ++i) {
        column.FaceUp->Picture->LoadFromFile(CardImagePath(column.Stack[i]));
        column.Pile->Picture->LoadFromFile(i == 31 ? pile.C : i == 32 ? PileImage::Empty : pile.A);
        std::swap(pile.A, pile.B);
        WaitPumping(DelayMs);
    }
    column.FaceUp->Picture->LoadFromFile(PileImage::Empty);
    column.Pile->Picture->LoadFromFile(pile.A);
}

void TurnUpBothStacks(const TCardColumn& left, const TCardColumn& right, TLabel* count) {
    count->SetCaption("0");
    TPileCycle pile;
    for (int i = 1; i <= StackSize; ++i) {
        left.FaceUp->Picture->LoadFromFile(CardImagePath(left.Stack[i]));
        right.FaceUp->Picture->LoadFromFile(CardImagePath(right.Stack[i]));
        if (right.Stack[i] == left.Stack[i])
            AddMatch(count);
        WaitPumping(DelayMs);
        if (i == 31) {
            left.Pile->Picture->LoadFromFile(pile.C);
            right.Pile->Picture->LoadFromFile(pile.C);
        } else if (i == 32) {
            left.Pile->Picture->LoadFromFile(PileImage::Empty);
            right.Pile->Picture->LoadFromFile(PileImage::Empty);
        } else {
            left.Pile->Picture->LoadFromFile(pile.A);
            right.Pile->Picture->LoadFromFile(pile.B);
        }
        std::swap(pile.A, pile.B);
        WaitPumping(DelayMs);
    }
    left.FaceUp->Picture->LoadFromFile(PileImage::Empty);
    right.FaceUp->Picture->LoadFromFile(PileImage::Empty);
    left.Pile->Picture->LoadFromFile(pile.A);
    right.Pile->Picture->LoadFromFile(pile.B);
}
