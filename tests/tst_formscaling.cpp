// Adapting the designed layout to another screen resolution or another font's text height.
#include "FormScaling.h"

#include <QTest>

class tst_FormScaling : public QObject {
    Q_OBJECT
private slots:
    void scaling_data() {
        QTest::addColumn<int>("pixelsPerInch");
        QTest::addColumn<int>("textHeightAtDesignFont"); // measured at whatever height is asked
        QTest::addColumn<int>("fontHeight");
        QTest::addColumn<int>("numerator");
        QTest::addColumn<int>("denominator");
        QTest::newRow("as designed") << 96 << 13 << 10 << 1 << 1;
        QTest::newRow("lower text only") << 96 << 11 << 10 << 11 << 13;
        QTest::newRow("taller text only") << 96 << 16 << 10 << 16 << 13;
        QTest::newRow("120 dpi, text still 13") << 120 << 13 << 13 << 1 << 1;
        QTest::newRow("144 dpi, text 20") << 144 << 20 << 15 << 20 << 13;
    }
    void scaling() {
        QFETCH(int, pixelsPerInch);
        QFETCH(int, textHeightAtDesignFont);
        QFETCH(int, fontHeight);
        QFETCH(int, numerator);
        QFETCH(int, denominator);
        int measuredAt = -1;
        const TFormScaling scaling = ComputeFormScaling(pixelsPerInch, 10, [&](int height) {
            measuredAt = height;
            return textHeightAtDesignFont;
        });
        QCOMPARE(scaling.WindowFontHeight, fontHeight);
        // The text is measured in the font as already scaled to the screen.
        QCOMPARE(measuredAt, fontHeight);
        QCOMPARE(scaling.Numerator, numerator);
        QCOMPARE(scaling.Denominator, denominator);
    }

    void mulDivRoundsToNearest_data() {
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("numerator");
        QTest::addColumn<int>("denominator");
        QTest::addColumn<int>("result");
        QTest::newRow("identity") << 317 << 13 << 13 << 317;
        QTest::newRow("down") << 137 << 11 << 13 << 116; // 115.92
        QTest::newRow("half rounds away") << 13 << 1 << 2 << 7;
        QTest::newRow("negative") << -13 << 1 << 2 << -7;
        QTest::newRow("no overflow") << 2000000000 << 3 << 4 << 1500000000;
    }
    void mulDivRoundsToNearest() {
        QFETCH(int, value);
        QFETCH(int, numerator);
        QFETCH(int, denominator);
        QFETCH(int, result);
        QCOMPARE(MulDiv(value, numerator, denominator), result);
    }
};

QTEST_APPLESS_MAIN(tst_FormScaling)
#include "tst_formscaling.moc"
