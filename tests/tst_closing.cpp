// Closing the window: the program ends once the running command, if any, has returned. Each
// function runs in a process of its own, since a terminating application stays terminating.
#include "MainWindowFixture.h"
#include "PaintRecorder.h"
#include "TestMain.h"

#include <QTimer>

class tst_Closing : public QObject {
    Q_OBJECT
private slots:
    void closingWhileIdleEndsTheLoop() {
        MainWindowFixture window;
        QWidget* w = window.Form().Window();
        QTimer::singleShot(0, w, [w] { w->close(); });
        Application->Run();
        QVERIFY(Application->Terminated());
        QVERIFY2(w->isVisible(), "the window stays until the program destroys it");
    }

    void closingDuringARunLetsItFinish() {
        StepClock clock;
        MainWindowFixture window;
        TForm1& form = window.Form();
        window.SetSpeedToFastest();
        PaintRecorder recorder({form.Image1});
        bool alwaysVisible = true;
        recorder.AfterPaint = [&](int) {
            alwaysVisible = alwaysVisible && form.Window()->isVisible();
            if (recorder.Painted[0].size() == 2)
                QTimer::singleShot(0, [&form] { form.Window()->close(); });
        };
        QTimer::singleShot(0, [&form] { MainWindowFixture::Click(form.Button1); });
        Application->Run();
        QVERIFY(Application->Terminated());
        QCOMPARE(window.Count(), QString("32"));
        QCOMPARE(recorder.Painted[0].size(), 32);
        QCOMPARE(PictureName(form.Image1), QString("leer1"));
        QVERIFY(alwaysVisible);
    }
};

QUENDRAVO_TEST_MAIN(tst_Closing)
#include "tst_closing.moc"
