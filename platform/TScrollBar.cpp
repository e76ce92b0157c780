#include "TScrollBar.h"

#include "TApplication.h"

#include <QScrollBar>

TScrollBar::TScrollBar(QWidget* parent) : TScrollBar(new QScrollBar(parent)) {}

TScrollBar::TScrollBar(QScrollBar* b) : TControl(b), bar(b) {
    // A plain scroll bar takes no focus in Qt; ours is in the tab order and answers its keys.
    bar->setFocusPolicy(Qt::StrongFocus);
    // Qt's own menu here (in English, in a German window) offers nothing the keys don't.
    bar->setContextMenuPolicy(Qt::PreventContextMenu);
    QObject::connect(bar, &QScrollBar::valueChanged, [this] {
        Application->Dispatch([this] {
            if (OnChange)
                OnChange(this);
        });
    });
}

TScrollBarKind TScrollBar::Kind() const {
    return bar->orientation() == Qt::Vertical ? TScrollBarKind::Vertical
                                              : TScrollBarKind::Horizontal;
}

void TScrollBar::SetKind(TScrollBarKind kind) {
    bar->setOrientation(kind == TScrollBarKind::Vertical ? Qt::Vertical : Qt::Horizontal);
}

int TScrollBar::Min() const {
    return bar->minimum();
}
int TScrollBar::Max() const {
    return bar->maximum();
}
void TScrollBar::SetRange(int min, int max) {
    bar->setRange(min, max);
}
int TScrollBar::SmallChange() const {
    return bar->singleStep();
}
void TScrollBar::SetSmallChange(int change) {
    bar->setSingleStep(change);
}
int TScrollBar::LargeChange() const {
    return bar->pageStep();
}
void TScrollBar::SetLargeChange(int change) {
    bar->setPageStep(change);
}
int TScrollBar::Position() const {
    return bar->value();
}
void TScrollBar::SetPosition(int position) {
    bar->setValue(position);
}
