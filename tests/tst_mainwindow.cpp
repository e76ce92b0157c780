// The main window as a user first meets it: its layout, its pictures, the focus and the keys.
#include "MainWindowFixture.h"
#include "Speed.h"
#include "TestMain.h"

#include <QApplication>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyleOptionSlider>
#include <QTimer>

namespace {

TControl* ControlNamed(TForm1& form, const QString& name) {
    TControl* const controls[] = {form.Image1,  form.Button1, form.Image2,     form.Image3,
                                  form.Image4,  form.Label1,  form.ScrollBar1, form.Label2,
                                  form.Label3,  form.Button2, form.Button3,    form.Button4,
                                  form.Button5, form.Label4};
    for (TControl* control : controls)
        if (QString::fromStdString(control->Name) == name)
            return control;
    return nullptr;
}

QString CaptionOf(TControl* control) {
    if (auto* button = dynamic_cast<TButton*>(control))
        return QString::fromStdString(button->Caption());
    if (auto* label = dynamic_cast<TLabel*>(control))
        return QString::fromStdString(label->Caption());
    return {};
}

QString KindOf(TControl* control) {
    if (dynamic_cast<TImage*>(control))
        return "image";
    if (dynamic_cast<TLabel*>(control))
        return "label";
    if (dynamic_cast<TButton*>(control))
        return "button";
    if (dynamic_cast<TScrollBar*>(control))
        return "scrollbar";
    return "?";
}

// Mean absolute difference of two pictures' colour channels, 0 to 255.
double Difference(const QImage& a, const QImage& b) {
    const QImage x = a.convertToFormat(QImage::Format_RGB32);
    const QImage y = b.convertToFormat(QImage::Format_RGB32).scaled(x.size());
    double sum = 0;
    for (int row = 0; row < x.height(); ++row)
        for (int column = 0; column < x.width(); ++column) {
            const QColor p = x.pixelColor(column, row), q = y.pixelColor(column, row);
            sum += std::abs(p.red() - q.red()) + std::abs(p.green() - q.green()) +
                   std::abs(p.blue() - q.blue());
        }
    return sum / (3.0 * x.width() * x.height());
}

QRect ScrollBarPart(QScrollBar* bar, QStyle::SubControl part) {
    QStyleOptionSlider option;
    option.initFrom(bar);
    option.orientation = bar->orientation();
    option.minimum = bar->minimum();
    option.maximum = bar->maximum();
    option.sliderPosition = bar->sliderPosition();
    option.sliderValue = bar->value();
    option.singleStep = bar->singleStep();
    option.pageStep = bar->pageStep();
    option.upsideDown = bar->invertedAppearance();
    return bar->style()->subControlRect(QStyle::CC_ScrollBar, &option, part, bar);
}

} // namespace

class tst_MainWindow : public QObject {
    Q_OBJECT
private slots:
    void controlsAsDesigned_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QRect>("bounds");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<bool>("bigFont");
        QTest::addColumn<int>("tabOrder");
        const QString ae = QString::fromUtf8("\xC3\xA4");
        QTest::newRow("Image1") << "Image1"
                                << "image" << QRect(317, 21, 137, 209) << "" << false << -1;
        QTest::newRow("Image2") << "Image2"
                                << "image" << QRect(479, 21, 137, 209) << "" << false << -1;
        QTest::newRow("Image3") << "Image3"
                                << "image" << QRect(317, 242, 137, 209) << "" << false << -1;
        QTest::newRow("Image4") << "Image4"
                                << "image" << QRect(479, 242, 137, 209) << "" << false << -1;
        QTest::newRow("Label1") << "Label1"
                                << "label" << QRect(63, 379, 138, 24) << "Geschwindigkeit" << true
                                << -1;
        QTest::newRow("Label2") << "Label2"
                                << "label" << QRect(63, 314, 60, 24) << "schnell" << true << -1;
        QTest::newRow("Label3") << "Label3"
                                << "label" << QRect(63, 450, 71, 24) << "langsam" << true << -1;
        QTest::newRow("Label4") << "Label4"
                                << "label" << QRect(468, 463, 5, 24) << "" << true << -1;
        QTest::newRow("Button1") << "Button1"
                                 << "button" << QRect(31, 249, 215, 39)
                                 << "Beide Stapel aufbl" + ae + "ttern" << true << 0;
        QTest::newRow("ScrollBar1") << "ScrollBar1"
                                    << "scrollbar" << QRect(41, 320, 16, 150) << "" << false << 1;
        QTest::newRow("Button2") << "Button2"
                                 << "button" << QRect(31, 15, 215, 39) << "Stapel 1 mischen" << true
                                 << 2;
        QTest::newRow("Button3") << "Button3"
                                 << "button" << QRect(31, 73, 215, 40) << "Stapel 2 mischen" << true
                                 << 3;
        QTest::newRow("Button4") << "Button4"
                                 << "button" << QRect(31, 132, 215, 39)
                                 << "Stapel 1 aufbl" + ae + "ttern" << true << 4;
        QTest::newRow("Button5") << "Button5"
                                 << "button" << QRect(31, 190, 215, 40)
                                 << "Stapel 2 aufbl" + ae + "ttern" << true << 5;
    }
    void controlsAsDesigned() {
        QFETCH(QString, name);
        QFETCH(QString, kind);
        QFETCH(QRect, bounds);
        QFETCH(QString, caption);
        QFETCH(bool, bigFont);
        QFETCH(int, tabOrder);
        MainWindowFixture window;
        TControl* control = ControlNamed(window.Form(), name);
        QVERIFY(control);
        QCOMPARE(KindOf(control), kind);
        QCOMPARE(QPoint(control->Left(), control->Top()), bounds.topLeft());
        if (kind == "label") {
            // Labels size themselves to their text in the font this machine has.
            const QFontMetrics metrics(control->Widget()->font());
            QCOMPARE(control->Width(), metrics.horizontalAdvance(caption));
            QCOMPARE(control->Height(), metrics.height());
        } else {
            QCOMPARE(QSize(control->Width(), control->Height()), bounds.size());
        }
        QCOMPARE(CaptionOf(control), caption);
        QCOMPARE(!control->ParentFont(), bigFont);
        if (bigFont) {
            QCOMPARE(control->Font().Name, std::string("MS Sans Serif"));
            QCOMPARE(control->Font().Height, 19);
            QCOMPARE(control->Widget()->font().pixelSize(), 19);
        }
        QCOMPARE(control->TabOrder(), tabOrder);
        if (auto* image = dynamic_cast<TImage*>(control))
            QVERIFY(image->Stretch());
    }

    void windowAsDesigned() {
        MainWindowFixture window;
        TForm1& form = window.Form();
        QWidget* w = form.Window();
        QCOMPARE(form.Caption(), std::string("Quendravo Problem"));
        QCOMPARE(w->frameGeometry(), QRect(241, 119, 653, 530)); // no frame without a manager
        QCOMPARE(form.Font().Name, std::string("MS Sans Serif"));
        QCOMPARE(form.Font().Height, 10);
        // The installed fallback keeps the designed text height, so nothing is rescaled.
        QCOMPARE(QFontMetrics(form.ClientParent()->font()).height(), 13);
        QCOMPARE(form.Scaling().Numerator, form.Scaling().Denominator);
        QCOMPARE(w->palette().color(QPalette::Window), w->palette().color(QPalette::Button));
    }

    void startUpState() {
        MainWindowFixture window;
        TForm1& form = window.Form();
        QCOMPARE(form.Label4->Caption(), std::string());
        const TScrollBar& bar = *form.ScrollBar1;
        QCOMPARE(bar.Kind(), TScrollBarKind::Vertical);
        QCOMPARE(QList<int>({bar.Min(), bar.Max(), bar.SmallChange(), bar.LargeChange(),
                             bar.PageSize(), bar.Position()}),
                 QList<int>({0, 100, 1, 1, 0, 50}));
        QCOMPARE(DelayMs, 500);
        for (int position = 1; position <= StackSize; ++position) {
            QCOMPARE(Stack1[position], position);
            QCOMPARE(Stack2[position], position);
        }
        for (TImage* image : {form.Image1, form.Image2, form.Image3, form.Image4}) {
            QCOMPARE(image->Picture->Graphic()->Width(), 494);
            QCOMPARE(image->Picture->Graphic()->Height(), 530);
        }
        const QImage slot1 = form.Image1->Widget()->grab().toImage();
        const QImage slot2 = form.Image2->Widget()->grab().toImage();
        const QImage pile1 = form.Image3->Widget()->grab().toImage();
        const QImage pile2 = form.Image4->Widget()->grab().toImage();
        QCOMPARE(slot1, slot2);
        const QColor blank = slot1.pixelColor(slot1.rect().center());
        QVERIFY2(blank.red() > 200 && blank.green() > 200 && blank.blue() < blank.red() - 20,
                 "the face-up slots start pale yellow");
        QVERIFY2(Difference(pile1.mirrored(true, false), pile2) < 8, "the two fans are mirrored");
        QVERIFY2(Difference(pile1, pile2) > 8, "and not the same picture");
    }

    void focusStartsOnButton1AndTabsInOrder() {
        MainWindowFixture window;
        TForm1& form = window.Form();
        QTRY_COMPARE(QApplication::focusWidget(), form.Button1->Widget());
        const QList<TControl*> order = {form.ScrollBar1, form.Button2, form.Button3,
                                        form.Button4,    form.Button5, form.Button1};
        for (TControl* next : order) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), next->Widget());
        }
    }

    void keysClickTheFocusedButton_data() {
        QTest::addColumn<int>("key");
        QTest::newRow("Return") << int(Qt::Key_Return);
        QTest::newRow("Enter") << int(Qt::Key_Enter);
        QTest::newRow("Space") << int(Qt::Key_Space);
    }
    void keysClickTheFocusedButton() {
        QFETCH(int, key);
        StepClock clock;
        MainWindowFixture window;
        // Right after start: the two-stack run on unshuffled stacks.
        QTRY_COMPARE(QApplication::focusWidget(), window.Form().Button1->Widget());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
        QCOMPARE(window.Count(), QString("32"));
    }

    void scrollBarInput_data() {
        QTest::addColumn<int>("start");
        QTest::addColumn<QString>("input");
        QTest::addColumn<int>("end");
        QTest::newRow("Down") << 50 << "Down" << 51;
        QTest::newRow("Up") << 50 << "Up" << 49;
        QTest::newRow("PageDown") << 50 << "PageDown" << 51;
        QTest::newRow("PageUp") << 50 << "PageUp" << 49;
        QTest::newRow("Home") << 50 << "Home" << 0;
        QTest::newRow("End") << 50 << "End" << 100;
        QTest::newRow("Up at the top") << 0 << "Up" << 0;
        QTest::newRow("End at the bottom") << 100 << "End" << 100;
        QTest::newRow("down arrow") << 50 << "click AddLine" << 51;
        QTest::newRow("up arrow") << 50 << "click SubLine" << 49;
        QTest::newRow("trough below the thumb") << 50 << "click AddPage" << 51;
        QTest::newRow("trough above the thumb") << 50 << "click SubPage" << 49;
    }
    void scrollBarInput() {
        QFETCH(int, start);
        QFETCH(QString, input);
        QFETCH(int, end);
        MainWindowFixture window;
        TScrollBar* bar = window.Form().ScrollBar1;
        auto* widget = static_cast<QScrollBar*>(bar->Widget());
        bar->SetPosition(start);
        DelayMs = -1; // tells whether the change handler ran
        widget->setFocus();
        static const QMap<QString, Qt::Key> keys = {
            {"Down", Qt::Key_Down},     {"Up", Qt::Key_Up},     {"PageDown", Qt::Key_PageDown},
            {"PageUp", Qt::Key_PageUp}, {"Home", Qt::Key_Home}, {"End", Qt::Key_End}};
        static const QMap<QString, QStyle::SubControl> parts = {
            {"click AddLine", QStyle::SC_ScrollBarAddLine},
            {"click SubLine", QStyle::SC_ScrollBarSubLine},
            {"click AddPage", QStyle::SC_ScrollBarAddPage},
            {"click SubPage", QStyle::SC_ScrollBarSubPage}};
        if (keys.contains(input))
            QTest::keyClick(widget, keys[input]);
        else
            QTest::mouseClick(widget, Qt::LeftButton, {},
                              ScrollBarPart(widget, parts[input]).center());
        QCOMPARE(bar->Position(), end);
        QCOMPARE(DelayMs, end == start ? -1 : end * 10);
    }

    void scrollBarOffersNoMenuOfItsOwn() {
        MainWindowFixture window;
        QWidget* bar = window.Form().ScrollBar1->Widget();
        QWidget* popup = nullptr;
        bool looked = false;
        QTimer::singleShot(20, [&] {
            popup = QApplication::activePopupWidget();
            if (popup)
                popup->close();
            looked = true;
        });
        const QPoint inside(8, 75);
        QContextMenuEvent event(QContextMenuEvent::Mouse, inside, bar->mapToGlobal(inside));
        QApplication::sendEvent(bar, &event);
        QTRY_VERIFY(looked);
        QCOMPARE(popup, nullptr);
    }

    void draggingTheThumbUpdatesAllTheWay() {
        MainWindowFixture window;
        auto* widget = static_cast<QScrollBar*>(window.Form().ScrollBar1->Widget());
        const QPoint grip = ScrollBarPart(widget, QStyle::SC_ScrollBarSlider).center();
        QTest::mousePress(widget, Qt::LeftButton, {}, grip);
        QList<int> seen;
        for (int y = grip.y(); y >= 0; y -= 10) {
            QTest::mouseMove(widget, QPoint(grip.x(), y));
            seen << DelayMs;
        }
        QTest::mouseRelease(widget, Qt::LeftButton, {}, QPoint(grip.x(), 0));
        QCOMPARE(DelayMs, 0);
        QVERIFY2(seen.size() > 3 && seen[1] < 500 && seen[1] > 0, "the delay follows the drag");
    }

    void windowScrollsWhenSmallerThanItsControls_data() {
        QTest::addColumn<QSize>("client");
        QTest::addColumn<bool>("horizontal");
        QTest::addColumn<bool>("vertical");
        QTest::newRow("designed") << QSize(653, 530) << false << false;
        QTest::newRow("larger") << QSize(900, 700) << false << false;
        QTest::newRow("narrower") << QSize(560, 530) << true << false;
        QTest::newRow("lower") << QSize(653, 400) << false << true;
        QTest::newRow("smaller") << QSize(300, 300) << true << true;
    }
    void windowScrollsWhenSmallerThanItsControls() {
        QFETCH(QSize, client);
        QFETCH(bool, horizontal);
        QFETCH(bool, vertical);
        MainWindowFixture window;
        QWidget* w = window.Form().Window();
        w->resize(client);
        auto* area = w->findChild<QScrollArea*>();
        QTRY_COMPARE(qMakePair(area->horizontalScrollBar()->isVisible(),
                               area->verticalScrollBar()->isVisible()),
                     qMakePair(horizontal, vertical));
        // Anchored at the left and top: nothing moves or stretches.
        QCOMPARE(window.Form().Image2->Left(), 479);
        QCOMPARE(window.Form().Image4->Width(), 137);
    }
};

QUENDRAVO_TEST_MAIN(tst_MainWindow)
#include "tst_mainwindow.moc"
