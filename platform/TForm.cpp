#include "TForm.h"

#include "QtFont.h"
#include "TApplication.h"

#include <QCloseEvent>
#include <QEvent>
#include <QFontMetrics>
#include <QScreen>
#include <QScrollArea>

#include <algorithm>

namespace {

// Closing asks the application to terminate; the window stays until the running handler, if any,
// has returned and the event loop ends.
class FormWindow : public QWidget {
protected:
    void closeEvent(QCloseEvent* event) override {
        event->ignore();
        Application->Terminate();
    }
};

// The controls' parent. It always covers its children, so that the scroll area shows scroll bars
// exactly when the client area is smaller than the controls' extent.
class ClientArea : public QWidget {
public:
    explicit ClientArea(QWidget* parent) : QWidget(parent) {}

protected:
    bool event(QEvent* event) override {
        if (event->type() == QEvent::ChildAdded)
            static_cast<QChildEvent*>(event)->child()->installEventFilter(this);
        return QWidget::event(event);
    }
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Move || event->type() == QEvent::Resize)
            UpdateExtent();
        return QWidget::eventFilter(watched, event);
    }

private:
    void UpdateExtent() {
        QSize extent(1, 1);
        for (const QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            extent = extent.expandedTo(
                QSize(child->geometry().right() + 1, child->geometry().bottom() + 1));
        if (extent != size())
            resize(extent);
    }
};

QColor ButtonFace(const QWidget& widget) {
    return widget.palette().color(QPalette::Button);
}

} // namespace

TForm::TForm() : window(std::make_unique<FormWindow>()) {
    scrollArea = new QScrollArea(window.get());
    scrollArea->setFrameShape(QFrame::NoFrame);
    scrollArea->setFocusPolicy(Qt::NoFocus); // only the controls take part in the tab order
    scrollArea->setWidgetResizable(false);
    scrollArea->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    client = new ClientArea(scrollArea);
    scrollArea->setWidget(client);

    QPalette palette = window->palette();
    palette.setColor(QPalette::Window, ButtonFace(*window));
    window->setPalette(palette);
    scrollArea->viewport()->setBackgroundRole(QPalette::Window);
    scrollArea->viewport()->setAutoFillBackground(true);
    client->setAutoFillBackground(true);

    // The scroll area fills the client area, however the window is resized.
    struct Fill : QObject {
        QScrollArea* area;
        explicit Fill(QScrollArea* a) : QObject(a), area(a) {}
        bool eventFilter(QObject* watched, QEvent* event) override {
            if (event->type() == QEvent::Resize)
                area->setGeometry(static_cast<QWidget*>(watched)->rect());
            return false;
        }
    };
    window->installEventFilter(new Fill(scrollArea));
}

TForm::~TForm() {
    controls.clear();
    window.reset();
}

std::string TForm::Caption() const {
    return window->windowTitle().toStdString();
}

void TForm::SetCaption(const std::string& caption) {
    window->setWindowTitle(QString::fromStdString(caption));
}

void TForm::SetBounds(int left, int top, int width, int height) {
    outerWidth = width;
    outerHeight = height;
    window->move(left, top);
    window->resize(width, height);
}

void TForm::Loaded() {
    const QScreen* screen = window->screen();
    const int pixelsPerInch = screen ? int(screen->logicalDotsPerInchY()) : DesignPixelsPerInch;
    scaling = ComputeFormScaling(pixelsPerInch, font.Height, [this](int height) {
        return QFontMetrics(ToQFont(TFont{font.Name, height})).height();
    });
    font.Height = scaling.WindowFontHeight;
    client->setFont(ToQFont(font));

    const auto scale = [this](int value) {
        return MulDiv(value, scaling.Numerator, scaling.Denominator);
    };
    if (scaling.Numerator != scaling.Denominator) {
        for (const auto& control : controls) {
            control->SetBounds(scale(control->Left()), scale(control->Top()),
                               scale(control->Width()), scale(control->Height()));
            if (!control->ParentFont())
                control->SetFont(TFont{control->Font().Name, scale(control->Font().Height)});
        }
    }

    std::vector<TControl*> tabStops;
    for (const auto& control : controls)
        if (control->CanFocus() && control->TabOrder() >= 0)
            tabStops.push_back(control.get());
    std::stable_sort(tabStops.begin(), tabStops.end(),
                     [](TControl* a, TControl* b) { return a->TabOrder() < b->TabOrder(); });
    for (std::size_t i = 1; i < tabStops.size(); ++i)
        QWidget::setTabOrder(tabStops[i - 1]->Widget(), tabStops[i]->Widget());
    if (!tabStops.empty())
        tabStops.front()->Widget()->setFocus();
}

void TForm::DoCreate() {
    if (OnCreate)
        OnCreate(this);
}

void TForm::Show() {
    window->show();
    // Without a window manager there is no frame; with one, the designed size is the outer size.
    const QSize frame = window->frameGeometry().size() - window->geometry().size();
    if (frame != QSize(0, 0) && outerWidth > 0)
        window->resize(outerWidth - frame.width(), outerHeight - frame.height());
    // A plain window is not activated where no window manager runs, and focus would land nowhere.
    window->activateWindow();
    window->raise();
}

QWidget* TForm::Window() const {
    return window.get();
}

QWidget* TForm::ClientParent() const {
    return client;
}
