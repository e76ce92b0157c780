#include "ErrorBox.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>

std::string ErrorBoxText(const std::string& message) {
    if (!message.empty() && static_cast<unsigned char>(message.back()) > '.')
        return message + ".";
    return message;
}

void ShowErrorBox(const std::string& title, const std::string& text) {
    const QPointer<QWidget> owner = QApplication::activeWindow();
    QMessageBox box(QMessageBox::Critical, QString::fromStdString(title),
                    QString::fromStdString(text), QMessageBox::Ok, owner);
    box.setTextFormat(Qt::PlainText);
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
    // Where no window manager runs, nobody hands the keyboard back once the box is gone.
    if (owner)
        owner->activateWindow();
}
