// A control on a form: a position and size in client pixels, an optional own font, a place in the
// tab order. The form's window owns the toolkit widget behind it.
#pragma once

#include "TFont.h"
#include "TObject.h"

#include <QPointer>
#include <QWidget>

#include <string>

class TControl : public TObject {
public:
    ~TControl() override;

    int Left() const;
    int Top() const;
    int Width() const;
    int Height() const;
    virtual void SetBounds(int left, int top, int width, int height);

    // An own font turns ParentFont off: the control no longer follows the form's font.
    void SetFont(const TFont& font);
    const TFont& Font() const { return font; }
    bool ParentFont() const { return parentFont; }

    // Only controls that can take the focus have a place in the tab order.
    virtual bool CanFocus() const { return false; }
    int TabOrder() const { return tabOrder; }
    void SetTabOrder(int order) { tabOrder = order; }

    std::string Name;

    // What a screen reader calls the control; by default its caption, if it has one.
    void SetAccessibleName(const std::string& name);

    // For the platform layer and for tests that drive the real widget.
    QWidget* Widget() const { return widget; }

protected:
    explicit TControl(QWidget* widget);
    virtual void FontChanged() {}

private:
    // The control owns its widget; the form's window may have destroyed it first.
    QPointer<QWidget> widget;
    TFont font;
    bool parentFont = true;
    int tabOrder = -1;
};
