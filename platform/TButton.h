#pragma once

#include "TControl.h"

class QPushButton;

class TButton : public TControl {
public:
    explicit TButton(QWidget* parent);

    std::string Caption() const;
    void SetCaption(const std::string& caption);

    bool CanFocus() const override { return true; }

    TNotifyEvent OnClick;

private:
    explicit TButton(QPushButton* button);

    QPushButton* button;
};
