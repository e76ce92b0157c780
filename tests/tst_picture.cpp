// A picture box's picture: which class loads a path, what a failed load leaves, and how an error
// that only shows while painting reaches the user.
#include "CardImages.h"
#include "ErrorBoxWatcher.h"
#include "MainWindowFixture.h"
#include "TestMain.h"

#include <cstdio>
#include <jpeglib.h>
// After jpeglib.h: the library's message codes as an enum.
#include <jerror.h>

class tst_Picture : public QObject {
    Q_OBJECT
private slots:
    void extensionRule_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("extension");
        QTest::newRow("card") << "Tamselspiel\\herz_ass.jpg"
                              << "jpg";
        QTest::newRow("upper case") << "X.JPEG"
                                    << "JPEG";
        QTest::newRow("last dot counts") << "a.b.jpg"
                                         << "jpg";
        QTest::newRow("dot in a folder only") << "Tamsel.spiel\\herz"
                                              << "";
        QTest::newRow("dot before a drive colon") << "x.jpg:stream"
                                                  << "";
        QTest::newRow("no dot") << "Tamselspiel\\herz"
                                << "";
        QTest::newRow("trailing dot") << "Tamselspiel\\herz."
                                      << "";
        QTest::newRow("forward slash is no separator") << "a.d/herz"
                                                       << "d/herz";
    }
    void extensionRule() {
        QFETCH(QString, path);
        QFETCH(QString, extension);
        QCOMPARE(QString::fromStdString(TPicture::FileExtension(path.toStdString())), extension);
    }

    void loadOutcomes_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("error"); // empty: loads
        QTest::newRow("card") << "Tamselspiel\\herz_ass.jpg"
                              << "";
        QTest::newRow("extension in capitals") << "Tamselspiel\\herz_ass.JPG"
                                               << "";
        QTest::newRow("unknown extension") << "Tamselspiel\\herz_ass.bmp"
                                           << "Unbekannte Bilddateierweiterung (.bmp)";
        QTest::newRow("no extension") << "Tamselspiel\\herz_ass"
                                      << "Unbekannte Bilddateierweiterung (.)";
        QTest::newRow("missing file")
            << "Tamselspiel\\herz_elf.jpg"
            << "Datei Tamselspiel\\herz_elf.jpg kann nicht ge\u00f6ffnet werden";
        QTest::newRow("missing folder")
            << "Bilder\\herz_ass.jpg"
            << "Datei Bilder\\herz_ass.jpg kann nicht ge\u00f6ffnet werden";
    }
    void loadOutcomes() {
        QFETCH(QString, path);
        QFETCH(QString, error);
        MainWindowFixture window;
        TPicture* picture = window.Form().Image1->Picture;
        const TGraphic* before = picture->Graphic();
        QString raised;
        try {
            picture->LoadFromFile(path.toStdString());
        } catch (const Exception& e) {
            raised = QString::fromStdString(e.Message());
        }
        QCOMPARE(raised, error);
        if (error.isEmpty()) {
            QVERIFY(picture->Graphic() != before);
            QCOMPARE(picture->Graphic()->Width() > 0, true);
        } else {
            QCOMPARE(picture->Graphic(), before); // the box keeps what it showed
        }
    }

    void ourPictureSetIsComplete() {
        MainWindowFixture window;
        std::vector<std::string> paths = {PileImage::WithCards, PileImage::WithCardsAlt,
                                          PileImage::LastCard, PileImage::Empty};
        for (CardCode code = 1; code <= StackSize; ++code)
            paths.push_back(CardImagePath(code));
        for (const std::string& path : paths) {
            TJPEGImage picture;
            picture.LoadFromFile(path);
            QVERIFY2(!picture.MultiScan(), path.c_str());       // baseline, shown row by row
            QCOMPARE(picture.Bitmap().size(), QSize(411, 627)); // three times a picture box
        }
    }

    void decodeErrorIsShownOnceAfterThePaint() {
        MainWindowFixture window;
        window.EmptyPicture("herz_ass.jpg");
        ErrorBoxWatcher watcher;
        TImage* image = window.Form().Image1;
        image->Picture->LoadFromFile("Tamselspiel\\herz_ass.jpg"); // zero bytes load
        QVERIFY(watcher.Seen.isEmpty());
        Application->ProcessMessages(); // paints, then shows what the paint raised
        QCOMPARE(watcher.Texts(),
                 QStringList{QString("JPEG-Fehler #%1.").arg(int(JERR_INPUT_EMPTY))});
        QCOMPARE(PictureName(image), QString("herz_ass")); // the picture stays installed

        image->Widget()->repaint();
        Application->ProcessMessages();
        QCOMPARE(watcher.Seen.size(), 1);
    }
};

QUENDRAVO_TEST_MAIN(tst_Picture)
#include "tst_picture.moc"
