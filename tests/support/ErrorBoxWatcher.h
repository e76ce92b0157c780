// Answers every error box that opens while it lives, as a user would: reads it and presses OK.
#pragma once

#include <QList>
#include <QMessageBox>
#include <QObject>
#include <QTimer>

#include <functional>

class ErrorBoxWatcher : public QObject {
    Q_OBJECT
public:
    struct Box {
        QString Title;
        QString Text;
        QMessageBox::Icon Icon;
        QMessageBox::StandardButtons Buttons;
        Qt::TextFormat Format;
    };

    ErrorBoxWatcher();

    QList<Box> Seen;
    // Runs while a box is up, before it is answered.
    std::function<void()> WhileShown;

    QStringList Texts() const;

private:
    void Poll();
    QTimer timer;
};
