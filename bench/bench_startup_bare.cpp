// The yardstick for the program's start-up: a plain Qt window with the main window's fourteen
// controls at the same places and sizes, but no pictures and none of our window layer. Started
// and measured by bench_startup; not meant to be run alone.
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QWidget>

namespace {

struct TPlace {
    int left, top, width, height;
    const char* caption;
};

constexpr TPlace Boxes[] = {
    {317, 21, 137, 209, nullptr},
    {479, 21, 137, 209, nullptr},
    {317, 242, 137, 209, nullptr},
    {479, 242, 137, 209, nullptr},
};

constexpr TPlace Labels[] = {
    {63, 379, 138, 24, "Geschwindigkeit"},
    {63, 314, 60, 24, "schnell"},
    {63, 450, 71, 24, "langsam"},
    {468, 463, 5, 24, ""},
};

constexpr TPlace Buttons[] = {
    {31, 249, 215, 39, "Beide Stapel aufbl\u00e4ttern"},
    {31, 15, 215, 39, "Stapel 1 mischen"},
    {31, 73, 215, 40, "Stapel 2 mischen"},
    {31, 132, 215, 39, "Stapel 1 aufbl\u00e4ttern"},
    {31, 190, 215, 40, "Stapel 2 aufbl\u00e4ttern"},
};

} // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QWidget window;
    window.setWindowTitle("Bare Window");
    window.move(241, 119);
    window.resize(653, 530);
    for (const TPlace& p : Boxes)
        (new QWidget(&window))->setGeometry(p.left, p.top, p.width, p.height);
    for (const TPlace& p : Labels)
        (new QLabel(QString::fromUtf8(p.caption), &window))
            ->setGeometry(p.left, p.top, p.width, p.height);
    for (const TPlace& p : Buttons)
        (new QPushButton(QString::fromUtf8(p.caption), &window))
            ->setGeometry(p.left, p.top, p.width, p.height);
    auto* bar = new QScrollBar(Qt::Vertical, &window);
    bar->setGeometry(41, 320, 16, 150);
    bar->setRange(0, 100);
    bar->setValue(50);
    window.show();
    return application.exec();
}
