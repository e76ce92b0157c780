// A top-level window whose controls sit at fixed client positions. When the client area is
// smaller than the area the controls cover, the window scrolls them.
#pragma once

#include "FormScaling.h"
#include "TControl.h"

#include <memory>
#include <vector>

class QScrollArea;

class TForm : public TObject {
public:
    TForm();
    ~TForm() override;

    std::string Caption() const;
    void SetCaption(const std::string& caption);

    // The window's outer rectangle on the screen, frame included.
    void SetBounds(int left, int top, int width, int height);

    void SetFont(const TFont& windowFont) { font = windowFont; }
    const TFont& Font() const { return font; }

    // Creates a control of class C on the form; the form owns it.
    template <class C> C* AddControl() {
        auto control = std::make_unique<C>(ClientParent());
        C* created = control.get();
        controls.push_back(std::move(control));
        return created;
    }

    // Finishes creation from the stored definition: scales the layout to this screen, applies the
    // window font to controls that follow it, and chains the tab order.
    void Loaded();
    TFormScaling Scaling() const { return scaling; }

    TNotifyEvent OnCreate;
    void DoCreate();

    // Shows and activates the window; the focus goes to the first control in tab order.
    void Show();

    // For the platform layer and for tests that drive the real window.
    QWidget* Window() const;
    QWidget* ClientParent() const;

private:
    std::vector<std::unique_ptr<TControl>> controls;
    std::unique_ptr<QWidget> window;
    QScrollArea* scrollArea;
    QWidget* client;
    TFont font;
    TFormScaling scaling{10, 1, 1};
    int outerWidth = 0;
    int outerHeight = 0;
};
