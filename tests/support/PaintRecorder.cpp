#include "PaintRecorder.h"

#include "MainWindowFixture.h"
#include "TImage.h"

#include <QEvent>

PaintRecorder::PaintRecorder(QList<TImage*> boxes) : images(std::move(boxes)) {
    for (TImage* image : images) {
        Painted.append(QStringList());
        image->Widget()->installEventFilter(this);
    }
}

bool PaintRecorder::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::Paint)
        return false;
    for (int box = 0; box < images.size(); ++box) {
        if (images[box]->Widget() != watched)
            continue;
        const QString name = PictureName(images[box]);
        Painted[box].append(name);
        if (AfterPaint)
            AfterPaint(box);
    }
    return false;
}
