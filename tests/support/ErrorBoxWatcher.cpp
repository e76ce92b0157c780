#include "ErrorBoxWatcher.h"

#include <QApplication>
#include <QPushButton>
#include <QTest>

ErrorBoxWatcher::ErrorBoxWatcher() {
    timer.setInterval(5);
    connect(&timer, &QTimer::timeout, this, &ErrorBoxWatcher::Poll);
    timer.start();
}

QStringList ErrorBoxWatcher::Texts() const {
    QStringList texts;
    for (const Box& box : Seen)
        texts << box.Text;
    return texts;
}

void ErrorBoxWatcher::Poll() {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box || !box->isVisible() || box->property("answered").toBool())
        return;
    box->setProperty("answered", true);
    Seen.append(
        {box->windowTitle(), box->text(), box->icon(), box->standardButtons(), box->textFormat()});
    if (WhileShown)
        WhileShown();
    QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
}
