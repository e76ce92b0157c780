#include "TImage.h"

#include "TApplication.h"

#include <QAccessibleWidget>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QWidget>

namespace {

// Paints a TImage's picture. The picture is decoded on the first paint and kept by the graphic;
// the box keeps one copy scaled to its size in device pixels, so repaints only blit.
class ImageView : public QWidget {
public:
    ImageView(QWidget* parent, const TImage& owner) : QWidget(parent), owner(owner) {
        setFocusPolicy(Qt::NoFocus);
    }

    void PictureChanged() {
        scaled = QPixmap();
        if (owner.Describe)
            setAccessibleName(QString::fromStdString(owner.Describe(owner.Picture->Source())));
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        TGraphic* graphic = owner.Picture->Graphic();
        if (!graphic)
            return;
        const QImage& bitmap = DecodedBitmap(*graphic);
        if (bitmap.isNull())
            return;
        QPainter painter(this);
        if (!owner.Stretch()) {
            painter.drawImage(0, 0, bitmap);
            return;
        }
        const qreal ratio = devicePixelRatioF();
        const QSize deviceSize = (QSizeF(size()) * ratio).toSize();
        if (scaled.isNull() || scaled.size() != deviceSize) {
            scaled = QPixmap::fromImage(
                bitmap.scaled(deviceSize, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
            scaled.setDevicePixelRatio(ratio);
        }
        painter.drawPixmap(0, 0, scaled);
    }

private:
    // A picture that fails to decode is drawn as far as it was decoded. Its error must not open
    // a modal box inside a paint, so it is queued and shown right after this dispatch round.
    static const QImage& DecodedBitmap(TGraphic& graphic) {
        try {
            return graphic.Bitmap();
        } catch (const Exception& error) {
            Application->QueueException(error);
        } catch (const std::exception& error) {
            Application->QueueException(Exception(error.what()));
        }
        return graphic.Bitmap();
    }

    const TImage& owner;
    QPixmap scaled;
};

// Screen readers announce a picture box as a graphic, not as an empty pane.
QAccessibleInterface* ImageAccessibility(const QString&, QObject* object) {
    if (auto* view = dynamic_cast<ImageView*>(object))
        return new QAccessibleWidget(view, QAccessible::Graphic);
    return nullptr;
}

} // namespace

TImage::TImage(QWidget* parent)
    : TControl(new ImageView(parent, *this)), picture(std::make_unique<TPicture>()),
      Picture(picture.get()) {
    static const bool accessibilityInstalled = [] {
        QAccessible::installFactory(ImageAccessibility);
        return true;
    }();
    Q_UNUSED(accessibilityInstalled);
    picture->OnChange = [view = static_cast<ImageView*>(Widget())] { view->PictureChanged(); };
}

TImage::~TImage() = default;

void TImage::SetStretch(bool on) {
    stretch = on;
    static_cast<ImageView*>(Widget())->PictureChanged();
}
