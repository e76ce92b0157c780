#include "TButton.h"

#include "TApplication.h"

#include <QApplication>
#include <QPushButton>

TButton::TButton(QWidget* parent) : TButton(new QPushButton(parent)) {}

TButton::TButton(QPushButton* b) : TControl(b), button(b) {
    // Return and Enter click the focused button, as Space does.
    button->setAutoDefault(true);
    button->setFocusPolicy(Qt::StrongFocus);
    QObject::connect(button, &QPushButton::clicked, [this] {
        if (Application->DispatchDepth() >= TApplication::MaxNestedHandlers) {
            QApplication::beep();
            return;
        }
        Application->Dispatch([this] {
            if (OnClick)
                OnClick(this);
        });
    });
}

std::string TButton::Caption() const {
    return button->text().toStdString();
}

void TButton::SetCaption(const std::string& caption) {
    button->setText(QString::fromStdString(caption));
}
