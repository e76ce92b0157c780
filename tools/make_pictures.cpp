// Renders the picture folder and the window's initial pictures. The output depends only on this
// code and the face font, so the same build writes the same bytes every time.

#include "CardPainter.h"
#include "JpegEncoder.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QSaveFile>
#include <QStringList>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

// The initial pictures keep the size of the window definition they belong to.
const QSize InitialPictureSize(494, 530);

void usage() {
    std::fprintf(stderr,
                 "usage: make_pictures [--cards DIR [--scale N]] [--initial DIR]\n"
                 "  --cards DIR    the 36 pictures of the picture folder\n"
                 "  --scale N      card pictures at N times the 137 x 209 box (default 3)\n"
                 "  --initial DIR  blank.jpg, fan_right.jpg and fan_left.jpg at 494 x 530\n");
}

// Through libjpeg rather than QImage::save, so the pictures do not depend on which image plugins
// a Qt installation happens to ship. False with a message in *error when either step fails.
bool WriteJpeg(const QImage& image, const QString& path, std::string* error) {
    if (image.isNull()) {
        *error = "empty image";
        return false;
    }
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    JpegEncoding encoding;
    encoding.width = rgb.width();
    encoding.height = rgb.height();
    const std::size_t rowBytes = static_cast<std::size_t>(rgb.width()) * 3;
    const std::vector<unsigned char> bytes = EncodeJpeg(
        encoding,
        [&](int y, unsigned char* row) { std::memcpy(row, rgb.constScanLine(y), rowBytes); },
        error);
    if (bytes.empty())
        return false;
    QSaveFile file(path);
    const auto size = static_cast<qint64>(bytes.size());
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(reinterpret_cast<const char*>(bytes.data()), size) != size || !file.commit()) {
        *error = file.errorString().toStdString();
        return false;
    }
    return true;
}

bool writeAll(const std::vector<CardPainter::Picture>& pictures, const QString& folder,
              QSize size) {
    if (!QDir().mkpath(folder)) {
        std::fprintf(stderr, "make_pictures: cannot create %s\n", qPrintable(folder));
        return false;
    }
    for (const CardPainter::Picture& picture : pictures) {
        const QString path = QDir(folder).filePath(picture.name + QStringLiteral(".jpg"));
        std::string error;
        if (!WriteJpeg(CardPainter::Render(picture, size), path, &error)) {
            std::fprintf(stderr, "make_pictures: %s: %s\n", qPrintable(path), error.c_str());
            return false;
        }
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    // Nothing is shown; without a display the tool must still run, as it does inside the build.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    QString cards, initial;
    int scale = 3;
    const QStringList args = QGuiApplication::arguments();
    for (qsizetype i = 1; i < args.size(); ++i) {
        const bool hasValue = i + 1 < args.size();
        if (args[i] == QLatin1String("--cards") && hasValue) {
            cards = args[++i];
        } else if (args[i] == QLatin1String("--initial") && hasValue) {
            initial = args[++i];
        } else if (args[i] == QLatin1String("--scale") && hasValue) {
            bool ok = false;
            scale = args[++i].toInt(&ok);
            if (!ok || scale < 1 || scale > 8) {
                usage();
                return 2;
            }
        } else {
            usage();
            return 2;
        }
    }
    if (cards.isEmpty() && initial.isEmpty()) {
        usage();
        return 2;
    }

    const QSize cardSize(qRound(CardPainter::BoxWidth * scale),
                         qRound(CardPainter::BoxHeight * scale));
    if (!cards.isEmpty() && !writeAll(CardPainter::PictureFolder(), cards, cardSize))
        return 1;
    if (!initial.isEmpty() &&
        !writeAll(CardPainter::InitialPictures(), initial, InitialPictureSize))
        return 1;
    return 0;
}
