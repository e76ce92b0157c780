// What a screen reader hears: every control's name, and picture boxes that say what they show.
#include "MainWindowFixture.h"
#include "PaintRecorder.h"
#include "PictureDescriptions.h"
#include "TestMain.h"

#include <QAccessible>
#include <QAccessibleValueInterface>

namespace {

QAccessibleInterface* Accessible(TControl* control) {
    return QAccessible::queryAccessibleInterface(control->Widget());
}

QString NameOf(TControl* control) {
    return Accessible(control)->text(QAccessible::Name);
}

} // namespace

class tst_Accessibility : public QObject {
    Q_OBJECT
private slots:
    void pictureWords_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("words");
        QTest::newRow("first card") << "Tamselspiel\\herz_koenig.jpg" << QString("Herz K\u00f6nig");
        QTest::newRow("karo") << "Tamselspiel\\karo_bube.jpg"
                              << "Karo Bube";
        QTest::newRow("kreuz") << "Tamselspiel\\kreuz_zehn.jpg"
                               << "Kreuz Zehn";
        QTest::newRow("sch in full") << "Tamselspiel\\sch_ass.jpg"
                                     << "Schippe Ass";
        QTest::newRow("last card") << "Tamselspiel\\sch_bube.jpg"
                                   << "Schippe Bube";
        QTest::newRow("pile") << "Tamselspiel\\stapel1.jpg"
                              << "Stapel";
        QTest::newRow("pile, other view") << "Tamselspiel\\stapel3.jpg"
                                          << "Stapel";
        QTest::newRow("last card left") << "Tamselspiel\\stapel2.jpg"
                                        << "letzte Karte";
        QTest::newRow("empty place") << "Tamselspiel\\leer1.jpg"
                                     << "leer";
        QTest::newRow("no such picture") << "Tamselspiel\\.jpg"
                                         << "";
    }
    void pictureWords() {
        QFETCH(QString, path);
        QFETCH(QString, words);
        QCOMPARE(QString::fromStdString(PictureDescription(path.toStdString())), words);
    }

    void everyCardHasItsOwnName() {
        QSet<QString> names;
        for (CardCode code = 1; code <= StackSize; ++code)
            names.insert(QString::fromStdString(CardDisplayName(code)));
        QCOMPARE(names.size(), StackSize);
    }

    void controlsAtStart() {
        MainWindowFixture window;
        TForm1& form = window.Form();
        QCOMPARE(NameOf(form.Button1), QString("Beide Stapel aufbl\u00e4ttern"));
        QCOMPARE(NameOf(form.Button2), QString("Stapel 1 mischen"));
        QCOMPARE(NameOf(form.ScrollBar1), QString("Geschwindigkeit"));
        QCOMPARE(Accessible(form.ScrollBar1)->valueInterface()->currentValue().toInt(), 50);
        QCOMPARE(NameOf(form.Image1), QString("leer"));
        QCOMPARE(NameOf(form.Image2), QString("leer"));
        QCOMPARE(NameOf(form.Image3), QString("Stapel"));
        QCOMPARE(NameOf(form.Image4), QString("Stapel"));
        QCOMPARE(Accessible(form.Image1)->role(), QAccessible::Graphic);
    }

    void picturesNameWhatTheyShowDuringARun() {
        StepClock clock;
        MainWindowFixture window;
        TForm1& form = window.Form();
        window.SetSpeedToFastest();
        QStringList faces, piles;
        PaintRecorder recorder({form.Image1, form.Image3});
        recorder.AfterPaint = [&](int box) {
            (box == 0 ? faces : piles) << NameOf(box == 0 ? form.Image1 : form.Image3);
        };
        MainWindowFixture::Click(form.Button1);
        Application->ProcessMessages();
        QCOMPARE(faces.first(), QString("Herz K\u00f6nig"));
        QCOMPARE(faces.at(19), QString("Kreuz Zehn"));
        QCOMPARE(faces.last(), QString("leer"));
        QCOMPARE(piles.at(0), QString("Stapel"));
        QCOMPARE(piles.at(30), QString("letzte Karte"));
        QCOMPARE(piles.at(31), QString("leer"));
        QCOMPARE(NameOf(form.Label4), QString("32"));
    }
};

QUENDRAVO_TEST_MAIN(tst_Accessibility)
#include "tst_accessibility.moc"
