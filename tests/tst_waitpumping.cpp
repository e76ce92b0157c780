// The paced wait: how long it lasts by the tick counter, and what it dispatches meanwhile.
#include "ErrorBoxWatcher.h"
#include "MainWindowFixture.h"
#include "TestMain.h"
#include "TickCounter.h"
#include "WaitPumping.h"

#include <QElapsedTimer>
#include <QTimer>

class tst_WaitPumping : public QObject {
    Q_OBJECT
private slots:
    void lastsMoreThanItsTicks_data() {
        QTest::addColumn<quint32>("startTick");
        QTest::addColumn<int>("ms");
        QTest::newRow("zero") << quint32(1000) << 0;
        QTest::newRow("one") << quint32(1000) << 1;
        QTest::newRow("shuffle pause") << quint32(1000) << 250;
        QTest::newRow("slowest") << quint32(1000) << 1000;
        QTest::newRow("across the wrap") << quint32(0xFFFFFF00u) << 500;
    }
    void lastsMoreThanItsTicks() {
        QFETCH(quint32, startTick);
        QFETCH(int, ms);
        StepClock clock;
        StepClock::ticks = startTick;
        WaitPumping(ms);
        const quint32 elapsed = StepClock::ticks - startTick;
        // Strictly more than ms, and it returns as soon as that holds (two reads of slack).
        QVERIFY2(elapsed > quint32(ms) && elapsed <= quint32(ms) + 2,
                 qPrintable(QString::number(elapsed)));
    }

    void realPauseLastsAtLeastItsTime_data() {
        QTest::addColumn<int>("ms");
        QTest::newRow("0") << 0;
        QTest::newRow("30") << 30;
    }
    void realPauseLastsAtLeastItsTime() {
        QFETCH(int, ms);
        const std::uint32_t start = GetTickCount();
        QElapsedTimer timer;
        timer.start();
        WaitPumping(ms);
        QVERIFY(GetTickCount() - start > std::uint32_t(ms));
        QVERIFY(timer.elapsed() >= ms);
    }

    void dispatchesWhatArrivesDuringThePause() {
        int dispatched = 0;
        QTimer::singleShot(0, [&] { ++dispatched; });
        QTimer::singleShot(15, [&] { ++dispatched; }); // arrives while the pause sleeps
        WaitPumping(40);
        QCOMPARE(dispatched, 2);
    }

    void paintErrorIsShownBeforeThePauseEnds() {
        MainWindowFixture window;
        window.EmptyPicture("leer1.jpg");
        ErrorBoxWatcher watcher;
        window.Form().Image1->Picture->LoadFromFile("Tamselspiel\\leer1.jpg");
        WaitPumping(0);
        QCOMPARE(watcher.Seen.size(), 1);
    }
};

QUENDRAVO_TEST_MAIN(tst_WaitPumping)
#include "tst_waitpumping.moc"
