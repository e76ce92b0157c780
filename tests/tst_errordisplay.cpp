// The default error display: its title, its text, and the box a user answers.
#include "ApplicationTitle.h"
#include "ErrorBox.h"
#include "ErrorBoxWatcher.h"
#include "TestMain.h"

class tst_ErrorDisplay : public QObject {
    Q_OBJECT
private slots:
    void fullStopRule_data() {
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("text");
        QTest::newRow("open error")
            << QString("Datei Tamselspiel\\leer1.jpg kann nicht ge\u00f6ffnet werden")
            << QString("Datei Tamselspiel\\leer1.jpg kann nicht ge\u00f6ffnet werden.");
        QTest::newRow("digit") << "JPEG-Fehler #42"
                               << "JPEG-Fehler #42.";
        QTest::newRow("closing parenthesis") << "Unbekannte Bilddateierweiterung (.bmp)"
                                             << "Unbekannte Bilddateierweiterung (.bmp)";
        QTest::newRow("already a stop") << "Fertig."
                                        << "Fertig.";
        QTest::newRow("slash is above the stop") << "a/"
                                                 << "a/.";
        QTest::newRow("comma is below it") << "a,"
                                           << "a,";
        QTest::newRow("umlaut at the end") << QString("sch\u00f6n") << QString("sch\u00f6n.");
        QTest::newRow("empty") << ""
                               << "";
    }
    void fullStopRule() {
        QFETCH(QString, message);
        QFETCH(QString, text);
        QCOMPARE(QString::fromStdString(ErrorBoxText(message.toStdString())), text);
    }

    void titleFromExecutableName_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("title");
        QTest::newRow("plain") << "/usr/bin/quendravo"
                               << "quendravo";
        QTest::newRow("capitals after the first") << "/opt/QUENDRAVO"
                                                  << "Quendravo";
        QTest::newRow("cut at the first dot") << "/x/Karten.Spiel.exe"
                                              << "Karten";
        QTest::newRow("backslash folder") << "C:\\Spiele\\MISCHEN.EXE"
                                          << "Mischen";
        QTest::newRow("dot in the folder only") << "/a.b/prog"
                                                << "prog";
        QTest::newRow("no name before the dot") << "/x/.hidden"
                                                << "";
    }
    void titleFromExecutableName() {
        QFETCH(QString, path);
        QFETCH(QString, title);
        QCOMPARE(QString::fromStdString(ApplicationTitle(path.toStdString())), title);
    }

    void boxShowsTitleIconTextAndOk() {
        ErrorBoxWatcher watcher;
        Application->Dispatch([] { throw EFOpenError("Tamselspiel\\herz_ass.jpg"); });
        QCOMPARE(watcher.Seen.size(), 1);
        const ErrorBoxWatcher::Box& box = watcher.Seen.front();
        QCOMPARE(box.Title, QString("tst_errordisplay"));
        QCOMPARE(box.Icon, QMessageBox::Critical);
        QCOMPARE(box.Buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        QCOMPARE(box.Text,
                 QString("Datei Tamselspiel\\herz_ass.jpg kann nicht ge\u00f6ffnet werden."));
        // A path is data: it must never be read as markup.
        QCOMPARE(box.Format, Qt::PlainText);
    }
};

QUENDRAVO_TEST_MAIN(tst_ErrorDisplay)
#include "tst_errordisplay.moc"
