// The stacks, the shared generator, the shuffle and the picture catalogue.
#include "CardImages.h"
#include "RandomBelow.h"
#include "ShuffleStack.h"

#include <QTest>

#include <vector>

namespace {

std::vector<CardCode> Codes(const TStack& stack) {
    std::vector<CardCode> codes;
    for (int position = 1; position <= StackSize; ++position)
        codes.push_back(stack[position]);
    return codes;
}

std::vector<int> FixedPoints(const TStack& stack) {
    std::vector<int> fixed;
    for (int position = 1; position <= StackSize; ++position)
        if (stack[position] == position)
            fixed.push_back(position);
    return fixed;
}

const std::vector<CardCode> FirstShuffle = {13, 27, 31, 4,  14, 7,  12, 18, 3,  28, 21,
                                            24, 17, 11, 29, 15, 25, 20, 16, 22, 23, 2,
                                            10, 30, 5,  9,  19, 8,  6,  26, 32, 1};
const std::vector<CardCode> SecondShuffle = {15, 32, 18, 16, 22, 2,  7,  17, 30, 6,  13,
                                             3,  8,  10, 19, 25, 27, 20, 12, 26, 11, 29,
                                             4,  1,  21, 24, 14, 31, 23, 9,  28, 5};

} // namespace

class tst_Cards : public QObject {
    Q_OBJECT
private slots:
    void init() { ShuffleSeed = 0; }

    void firstDrawSwapsTheEnds() {
        QCOMPARE(RandomBelow(32), 0);
        QCOMPARE(ShuffleSeed, 1u);
    }

    void drawsStayBelowTheirBound() {
        for (int n : {1, 2, 7, 32, 1000, 2147483647})
            for (int draw = 0; draw < 200; ++draw) {
                const int value = RandomBelow(n);
                QVERIFY2(value >= 0 && value < n, qPrintable(QString::number(n)));
            }
    }

    void goldenShuffles_data() {
        QTest::addColumn<int>("shufflesBefore");
        QTest::addColumn<std::vector<CardCode>>("expected");
        QTest::addColumn<int>("onlyFixedPoint");
        QTest::newRow("first after start") << 0 << FirstShuffle << 4;
        QTest::newRow("second after start") << 1 << SecondShuffle << 7;
    }
    void goldenShuffles() {
        QFETCH(int, shufflesBefore);
        QFETCH(std::vector<CardCode>, expected);
        QFETCH(int, onlyFixedPoint);
        // Both stacks draw from the one generator, so which stack shuffled before does not matter.
        TStack other;
        for (int i = 0; i < shufflesBefore; ++i)
            ShuffleStack(other);
        TStack stack;
        ShuffleStack(stack);
        QCOMPARE(Codes(stack), expected);
        QCOMPARE(FixedPoints(stack), std::vector<int>{onlyFixedPoint});
    }

    void firstTwoShufflesAgreeOnlyAtPosition18() {
        TStack first, second;
        ShuffleStack(first);
        ShuffleStack(second);
        std::vector<int> agreeing;
        for (int position = 1; position <= StackSize; ++position)
            if (first[position] == second[position])
                agreeing.push_back(position);
        QCOMPARE(agreeing, std::vector<int>{18});
        QCOMPARE(first[18], 20);
    }

    void shuffleDrawsExactly31Numbers() {
        std::uint32_t expected = 0;
        for (int draw = 0; draw < 31; ++draw)
            expected = expected * 134775813u + 1u;
        TStack stack;
        ShuffleStack(stack);
        QCOMPARE(ShuffleSeed, expected);
    }

    void shuffleIgnoresThePreviousOrder() {
        TStack scrambled;
        ShuffleStack(scrambled);
        ShuffleStack(scrambled); // second shuffle, from a scrambled stack
        ShuffleSeed = 0;
        TStack ordered;
        SetOrderedState(ordered);
        ShuffleStack(ordered);
        ShuffleStack(ordered);
        QCOMPARE(Codes(scrambled), Codes(ordered));
        QCOMPARE(Codes(scrambled), SecondShuffle);
    }

    void orderedStateHoldsEachCodeAtItsPosition() {
        TStack stack;
        ShuffleStack(stack);
        SetOrderedState(stack);
        QCOMPARE(FixedPoints(stack).size(), std::size_t(StackSize));
    }

    void cardImagePaths_data() {
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("path");
        const char* const suits[] = {"herz", "karo", "kreuz", "sch"};
        const char* const ranks[] = {"koenig", "dame", "ass",    "zehn",
                                     "neun",   "acht", "sieben", "bube"};
        int code = 1;
        for (const char* suit : suits)
            for (const char* rank : ranks) {
                QTest::addRow("%d", code)
                    << code << QString("Tamselspiel\\%1_%2.jpg").arg(suit, rank);
                ++code;
            }
        for (int outside : {0, 33, -1, -2147483647 - 1})
            QTest::addRow("outside %d", outside) << outside << QString("Tamselspiel\\.jpg");
    }
    void cardImagePaths() {
        QFETCH(int, code);
        QFETCH(QString, path);
        QCOMPARE(QString::fromStdString(CardImagePath(code)), path);
    }

    void pilePaths() {
        QCOMPARE(PileImage::WithCards, "Tamselspiel\\stapel1.jpg");
        QCOMPARE(PileImage::WithCardsAlt, "Tamselspiel\\stapel3.jpg");
        QCOMPARE(PileImage::LastCard, "Tamselspiel\\stapel2.jpg");
        QCOMPARE(PileImage::Empty, "Tamselspiel\\leer1.jpg");
    }
};

QTEST_APPLESS_MAIN(tst_Cards)
#include "tst_cards.moc"
