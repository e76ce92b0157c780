// Records, for each picture box, the name of the picture it shows each time it is painted: what a
// user actually sees, as opposed to every picture that was loaded and replaced before a paint.
#pragma once

#include <QList>
#include <QObject>
#include <QStringList>

#include <functional>

class TImage;

class PaintRecorder : public QObject {
public:
    explicit PaintRecorder(QList<TImage*> images);

    // Painted names per box, in the order given to the constructor.
    QList<QStringList> Painted;
    // Runs after a box's paint has been recorded, with the box's index.
    std::function<void(int box)> AfterPaint;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QList<TImage*> images;
};
