#include "TControl.h"

#include "QtFont.h"

#include <QWidget>

TControl::TControl(QWidget* w) : widget(w) {}

TControl::~TControl() {
    delete widget.data();
}

int TControl::Left() const {
    return widget->x();
}
int TControl::Top() const {
    return widget->y();
}
int TControl::Width() const {
    return widget->width();
}
int TControl::Height() const {
    return widget->height();
}

void TControl::SetBounds(int left, int top, int width, int height) {
    widget->setGeometry(left, top, width, height);
}

void TControl::SetFont(const TFont& newFont) {
    font = newFont;
    parentFont = false;
    widget->setFont(ToQFont(font));
    FontChanged();
}

void TControl::SetAccessibleName(const std::string& name) {
    widget->setAccessibleName(QString::fromStdString(name));
}
