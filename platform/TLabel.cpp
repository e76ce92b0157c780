#include "TLabel.h"

#include <QLabel>

TLabel::TLabel(QWidget* parent) : TLabel(new QLabel(parent)) {}

TLabel::TLabel(QLabel* l) : TControl(l), label(l) {
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setWordWrap(false);
}

std::string TLabel::Caption() const {
    return label->text().toStdString();
}

void TLabel::SetCaption(const std::string& caption) {
    label->setText(QString::fromStdString(caption));
    AdjustBounds();
}

void TLabel::SetBounds(int left, int top, int width, int height) {
    TControl::SetBounds(left, top, width, height);
    AdjustBounds();
}

void TLabel::AdjustBounds() {
    if (!AutoSize)
        return;
    const QFontMetrics metrics(label->font());
    label->resize(metrics.horizontalAdvance(label->text()), metrics.height());
}
