#pragma once

#include "TControl.h"

class QScrollBar;

enum class TScrollBarKind { Horizontal, Vertical };

class TScrollBar : public TControl {
public:
    explicit TScrollBar(QWidget* parent);

    TScrollBarKind Kind() const;
    void SetKind(TScrollBarKind kind);
    int Min() const;
    int Max() const;
    void SetRange(int min, int max);
    // Moved by the arrow buttons and arrow keys.
    int SmallChange() const;
    void SetSmallChange(int change);
    // Moved by a click in the trough and by Page Up / Page Down.
    int LargeChange() const;
    void SetLargeChange(int change);
    // The proportional thumb's share of the range; 0 for a thumb of fixed size.
    int PageSize() const { return pageSize; }
    void SetPageSize(int size) { pageSize = size; }

    int Position() const;
    // Runs OnChange when, and only when, the position actually changes.
    void SetPosition(int position);

    bool CanFocus() const override { return true; }

    TNotifyEvent OnChange;

private:
    explicit TScrollBar(QScrollBar* bar);

    QScrollBar* bar;
    int pageSize = 0;
};
