// The five commands as a user runs them: what each picture box shows at every step, the count,
// commands started inside another's pause, and failing pictures.
#include "ErrorBoxWatcher.h"
#include "MainWindowFixture.h"
#include "PaintRecorder.h"
#include "TestMain.h"

#include <QDir>
#include <QFile>
#include <QTimer>

namespace {

const QList<CardCode> FirstShuffle = {13, 27, 31, 4,  14, 7, 12, 18, 3, 28, 21, 24, 17, 11, 29, 15,
                                      25, 20, 16, 22, 23, 2, 10, 30, 5, 9,  19, 8,  6,  26, 32, 1};
const QList<CardCode> SecondShuffle = {15, 32, 18, 16, 22, 2,  7,  17, 30, 6,  13,
                                       3,  8,  10, 19, 25, 27, 20, 12, 26, 11, 29,
                                       4,  1,  21, 24, 14, 31, 23, 9,  28, 5};

QList<CardCode> Ordered() {
    QList<CardCode> codes;
    for (CardCode code = 1; code <= StackSize; ++code)
        codes << code;
    return codes;
}

QStringList Names(const QList<CardCode>& codes) {
    QStringList names;
    for (CardCode code : codes)
        names << CardName(code);
    return names;
}

QList<CardCode> Codes(const TStack& stack) {
    QList<CardCode> codes;
    for (int position = 1; position <= StackSize; ++position)
        codes << stack[position];
    return codes;
}

// What a pile shows at positions 1 to 32 and after the run, starting from the given view.
QStringList PileSequence(const QString& first, const QString& second) {
    QStringList piles;
    for (int position = 1; position <= 30; ++position)
        piles << (position % 2 ? first : second);
    return piles << "stapel2"
                 << "leer1" << first;
}

// Clicks a button from inside whatever pause is running when the event is dispatched.
void ClickLater(TButton* button) {
    QTimer::singleShot(0, [button] { MainWindowFixture::Click(button); });
}

} // namespace

class tst_Commands : public QObject {
    Q_OBJECT

    std::unique_ptr<StepClock> clock;
    std::unique_ptr<MainWindowFixture> window;
    TForm1* form = nullptr;

    // The window is drawn as it is before each test's clicks, so paints record only what they do.
    void Settle() { Application->ProcessMessages(); }

private slots:
    void init() {
        clock = std::make_unique<StepClock>();
        window = std::make_unique<MainWindowFixture>();
        form = &window->Form();
        window->SetSpeedToFastest();
        Settle();
    }
    void cleanup() {
        window.reset();
        clock.reset();
    }

    void goldenCounts_data() {
        QTest::addColumn<QString>("shuffles"); // buttons pressed first: 2 and 3 shuffle
        QTest::addColumn<QString>("count");
        QTest::newRow("no shuffle") << ""
                                    << "32";
        QTest::newRow("stack 1, then stack 2") << "23"
                                               << "1"; // position 18, kreuz_zehn
        QTest::newRow("stack 1 only") << "2"
                                      << "1"; // position 4, herz_zehn
        QTest::newRow("stack 1 twice") << "22"
                                       << "1"; // position 7, herz_sieben
        QTest::newRow("stack 2 only") << "3"
                                      << "1";
    }
    void goldenCounts() {
        QFETCH(QString, shuffles);
        QFETCH(QString, count);
        for (QChar button : shuffles)
            MainWindowFixture::Click(button == '2' ? form->Button2 : form->Button3);
        MainWindowFixture::Click(form->Button1);
        QCOMPARE(window->Count(), count);
    }

    void singleStackRun_data() {
        QTest::addColumn<int>("stack");
        QTest::newRow("Stapel 1 aufbl\u00e4ttern") << 1;
        QTest::newRow("Stapel 2 aufbl\u00e4ttern") << 2;
    }
    void singleStackRun() {
        QFETCH(int, stack);
        MainWindowFixture::Click(stack == 1 ? form->Button2 : form->Button3);
        TImage* faceUp = stack == 1 ? form->Image1 : form->Image2;
        TImage* pile = stack == 1 ? form->Image3 : form->Image4;
        TImage* otherFaceUp = stack == 1 ? form->Image2 : form->Image1;
        Settle();
        PaintRecorder recorder({faceUp, pile, otherFaceUp});
        const int loadsBefore = RecordingJPEG::Loads;

        MainWindowFixture::Click(stack == 1 ? form->Button4 : form->Button5);
        Settle();

        QCOMPARE(recorder.Painted[0], Names(FirstShuffle) << "leer1");
        QCOMPARE(recorder.Painted[1], PileSequence("stapel1", "stapel3"));
        QCOMPARE(recorder.Painted[2], QStringList());
        QCOMPARE(RecordingJPEG::Loads - loadsBefore, 66);
        QCOMPARE(window->Count(), QString());
    }

    void twoStackRun() {
        MainWindowFixture::Click(form->Button2);
        MainWindowFixture::Click(form->Button3);
        Settle();
        PaintRecorder recorder({form->Image1, form->Image2, form->Image3, form->Image4});
        // When a face is painted, the piles still show the previous position's state.
        QStringList pileWhenFacePainted, countWhenFacePainted;
        recorder.AfterPaint = [&](int box) {
            if (box == 0) {
                pileWhenFacePainted << PictureName(form->Image3);
                countWhenFacePainted << window->Count();
            }
        };
        const int loadsBefore = RecordingJPEG::Loads;

        MainWindowFixture::Click(form->Button1);
        Settle();

        QCOMPARE(recorder.Painted[0], Names(FirstShuffle) << "leer1");
        QCOMPARE(recorder.Painted[1], Names(SecondShuffle) << "leer1");
        const QStringList left = PileSequence("stapel1", "stapel3");
        QCOMPARE(recorder.Painted[2], left);
        QCOMPARE(recorder.Painted[3], PileSequence("stapel3", "stapel1"));
        QCOMPARE(RecordingJPEG::Loads - loadsBefore, 132);
        QCOMPARE(window->Count(), QString("1"));

        QCOMPARE(pileWhenFacePainted.mid(0, 3), (QStringList{"stapel1", "stapel1", "stapel3"}));
        QCOMPARE(pileWhenFacePainted.mid(1, 31), left.mid(0, 31));
        QCOMPARE(countWhenFacePainted.mid(16, 2), (QStringList{"0", "1"})); // positions 17, 18
    }

    void shuffleAnimation_data() {
        QTest::addColumn<int>("stack");
        QTest::newRow("Stapel 1 mischen") << 1;
        QTest::newRow("Stapel 2 mischen") << 2;
    }
    void shuffleAnimation() {
        QFETCH(int, stack);
        MainWindowFixture::Click(form->Button1); // leaves a count and stapel3 in Image4
        Settle();
        TImage* pile = stack == 1 ? form->Image3 : form->Image4;
        PaintRecorder recorder({pile, form->Image1, form->Image2});
        const int loadsBefore = RecordingJPEG::Loads;

        MainWindowFixture::Click(stack == 1 ? form->Button2 : form->Button3);
        Settle();

        QCOMPARE(recorder.Painted[0], QStringList(10, "leer1") << "stapel1");
        QCOMPARE(recorder.Painted[1] + recorder.Painted[2], QStringList());
        QCOMPARE(RecordingJPEG::Loads - loadsBefore, 20);
        QCOMPARE(Codes(stack == 1 ? Stack1 : Stack2), FirstShuffle);
        QCOMPARE(Codes(stack == 1 ? Stack2 : Stack1), Ordered());
        QCOMPARE(window->Count(), QString("32"));
    }

    void shuffleDuringTurnUpReordersTheRest() {
        PaintRecorder recorder({form->Image1});
        recorder.AfterPaint = [&](int) {
            if (recorder.Painted[0].size() == 3)
                ClickLater(form->Button2);
        };
        MainWindowFixture::Click(form->Button4);
        Settle();
        QCOMPARE(recorder.Painted[0], Names(Ordered().mid(0, 3) + FirstShuffle.mid(3)) << "leer1");
    }

    void secondTwoStackRunInsideTheFirstAddsToItsCount() {
        PaintRecorder recorder({form->Image1});
        recorder.AfterPaint = [&](int) {
            if (recorder.Painted[0].size() == 5)
                ClickLater(form->Button1);
        };
        MainWindowFixture::Click(form->Button1);
        // The inner run resets the count and leaves 32; the outer adds positions 6 to 32.
        QCOMPARE(window->Count(), QString("59"));
    }

    void movingTheScrollBarChangesTheNextPause() {
        form->ScrollBar1->SetPosition(10); // 100 ms
        QList<quint32> paintedAt;
        PaintRecorder recorder({form->Image1});
        recorder.AfterPaint = [&](int) {
            paintedAt << StepClock::ticks;
            if (paintedAt.size() == 1)
                QTimer::singleShot(
                    0, [this] { QTest::keyClick(form->ScrollBar1->Widget(), Qt::Key_Home); });
        };
        MainWindowFixture::Click(form->Button4);
        QVERIFY(paintedAt.size() >= 3);
        QVERIFY2(paintedAt[1] - paintedAt[0] > 100, "the pause under way keeps its length");
        QVERIFY2(paintedAt[2] - paintedAt[1] < 20, "the next pause has the new one");
    }

    void failingPictures_data() {
        QTest::addColumn<QString>("spoil"); // "-name" removes a file, "0name" empties it
        QTest::addColumn<QString>("button");
        QTest::addColumn<QStringList>("errors");
        QTest::addColumn<QString>("box"); // the picture box to look at afterwards
        QTest::addColumn<QStringList>("painted");
        QTest::addColumn<QString>("count");
        const QString cannotOpen = "Datei Tamselspiel\\%1.jpg kann nicht ge\u00f6ffnet werden.";
        QTest::newRow("no folder, Stapel 1 mischen")
            << "-"
            << "2" << QStringList{cannotOpen.arg("leer1")} << "Image3" << QStringList() << "";
        QTest::newRow("no folder, Beide Stapel aufbl\u00e4ttern")
            << "-"
            << "1" << QStringList{cannotOpen.arg("herz_koenig")} << "Image1" << QStringList()
            << "0";
        QTest::newRow("missing stapel1, Stapel 1 mischen")
            << "-stapel1.jpg"
            << "2" << QStringList{cannotOpen.arg("stapel1")} << "Image3" << QStringList{"leer1"}
            << "";
        QTest::newRow("missing card, Stapel 1 aufbl\u00e4ttern")
            << "-herz_neun.jpg"
            << "4" << QStringList{cannotOpen.arg("herz_neun")} << "Image1" << Names({1, 2, 3, 4})
            << "";
        QTest::newRow("missing card, Beide Stapel aufbl\u00e4ttern")
            << "-herz_neun.jpg"
            << "1" << QStringList{cannotOpen.arg("herz_neun")} << "Image1" << Names({1, 2, 3, 4})
            << "4";
        QTest::newRow("zero-byte card, Stapel 1 aufbl\u00e4ttern")
            << "0herz_neun.jpg"
            << "4" << QStringList{"JPEG-Fehler #42."} << "Image1" << (Names(Ordered()) << "leer1")
            << "";
    }
    void failingPictures() {
        QFETCH(QString, spoil);
        QFETCH(QString, button);
        QFETCH(QStringList, errors);
        QFETCH(QString, box);
        QFETCH(QStringList, painted);
        QFETCH(QString, count);
        if (spoil == "-")
            QDir(window->PictureFile("")).removeRecursively();
        else if (spoil.startsWith('-'))
            window->RemovePicture(spoil.mid(1));
        else
            window->EmptyPicture(spoil.mid(1));
        TImage* image = box == "Image1" ? form->Image1 : form->Image3;
        const QString before = PictureName(image);
        PaintRecorder recorder({image});
        ErrorBoxWatcher watcher;
        TButton* buttons[] = {nullptr, form->Button1, form->Button2, nullptr, form->Button4};
        MainWindowFixture::Click(buttons[button.toInt()]);
        Settle();

        QCOMPARE(watcher.Texts(), errors);
        QCOMPARE(recorder.Painted[0], painted);
        QCOMPARE(window->Count(), count);
        // A failed load leaves the box with what it showed; a decode failure leaves the picture.
        QCOMPARE(PictureName(image), painted.isEmpty() ? before : painted.last());
        if (button == "2")
            QCOMPARE(Codes(Stack1), FirstShuffle); // shuffled before the animation failed
        QVERIFY(watcher.Seen.size() == errors.size());
    }

    void heldDownKeyCannotNestCommandsWithoutBound() {
        // Each key repeat starts another shuffle inside the pause of the one before. Tiny piles
        // keep the thousands of paints cheap.
        for (const char* pile : {"leer1.jpg", "stapel1.jpg"}) {
            QFile::remove(window->PictureFile(pile));
            QVERIFY(QFile::copy(SMALL_JPEG, window->PictureFile(pile)));
        }
        int repeats = 0, deepest = 0;
        PaintRecorder recorder({form->Image3});
        recorder.AfterPaint = [&](int) {
            deepest = std::max(deepest, Application->DispatchDepth());
            if (repeats < TApplication::MaxNestedHandlers + 20) {
                ++repeats;
                QTimer::singleShot(
                    0, [this] { QTest::keyClick(form->Button2->Widget(), Qt::Key_Return); });
            }
        };
        form->Button2->Widget()->setFocus();
        QTest::keyClick(form->Button2->Widget(), Qt::Key_Return);
        Settle();
        QCOMPARE(deepest, TApplication::MaxNestedHandlers);
        QCOMPARE(PictureName(form->Image3), QString("stapel1"));
    }

    void failingCommandInsideAPauseEndsAlone() {
        // Stapel 2, shuffled, holds herz_koenig only at its last position; the ordered Stapel 1
        // needs it first.
        MainWindowFixture::Click(form->Button3);
        Settle();
        window->RemovePicture("herz_koenig.jpg");
        PaintRecorder recorder({form->Image2, form->Image1});
        ErrorBoxWatcher watcher;
        QString outerWhenStarted;
        QStringList outerWhileBoxShown;
        watcher.WhileShown = [&] { outerWhileBoxShown << PictureName(form->Image2); };
        recorder.AfterPaint = [&](int box) {
            if (box == 0 && recorder.Painted[0].size() == 2)
                QTimer::singleShot(0, [&] {
                    outerWhenStarted = PictureName(form->Image2);
                    MainWindowFixture::Click(form->Button4);
                });
        };
        MainWindowFixture::Click(form->Button5);
        Settle();

        const QString cannotOpen =
            "Datei Tamselspiel\\herz_koenig.jpg kann nicht ge\u00f6ffnet werden.";
        QCOMPARE(watcher.Texts(), (QStringList{cannotOpen, cannotOpen}));
        QCOMPARE(outerWhileBoxShown.first(), outerWhenStarted); // paused underneath
        QCOMPARE(recorder.Painted[0], Names(FirstShuffle.mid(0, 31)));
        QCOMPARE(recorder.Painted[1], QStringList()); // the inner run failed at its first card
    }
};

QUENDRAVO_TEST_MAIN(tst_Commands)
#include "tst_commands.moc"
