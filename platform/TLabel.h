#pragma once

#include "TControl.h"

class QLabel;

// A static single-line text that sizes itself to its caption, growing to the right.
class TLabel : public TControl {
public:
    explicit TLabel(QWidget* parent);

    std::string Caption() const;
    void SetCaption(const std::string& caption);

    bool AutoSize = true;
    void SetBounds(int left, int top, int width, int height) override;

protected:
    void FontChanged() override { AdjustBounds(); }

private:
    explicit TLabel(QLabel* label);
    void AdjustBounds();

    QLabel* label;
};
