#include "Exception.h"
#include "JpegEncoder.h"
#include "PictureFile.h"
#include "TJPEGImage.h"

#include <QColor>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

#include <jpeglib.h>
// After jpeglib.h, this first inclusion defines the J_MESSAGE_CODE enum.
#include <jerror.h>

namespace {

constexpr int kNone = -1;      // no error expected
constexpr int kOpenError = -2; // EFOpenError expected

using Pixel = std::array<unsigned char, 4>;

// What the test pictures are made of: a left and a right half in two colours, given in the
// colour space the compressor takes in.
struct Fixture : JpegEncoding {
    Fixture() {
        width = 32;
        height = 32;
        stored = JCS_YCbCr;
        quality = 95;
        optimizeCoding = false;
    }
    Pixel left{};
    Pixel right{};
};

QByteArray Encode(const Fixture& f) {
    std::string error;
    const std::vector<unsigned char> bytes = EncodeJpeg(
        f,
        [&](int, unsigned char* row) {
            for (int x = 0; x < f.width; ++x)
                for (int c = 0; c < f.components; ++c)
                    row[std::size_t(x * f.components + c)] =
                        (x < f.width / 2 ? f.left : f.right)[c];
        },
        &error);
    if (bytes.empty())
        qFatal("cannot encode a test picture: %s", error.c_str());
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size()));
}

constexpr Pixel kRed{255, 0, 0, 0};
constexpr Pixel kBlue{0, 0, 255, 0};

Fixture Sound() {
    Fixture f;
    f.left = kRed;
    f.right = kBlue;
    return f;
}

Fixture Progressive() {
    Fixture f = Sound();
    f.progressive = true;
    f.fullChroma = true;
    return f;
}

// A grey picture in one DC scan and one scan per AC coefficient, each then refined once when
// refined is set: 64 or 127 scans, all of them a valid progression.
Fixture ManyScans(bool refined) {
    Fixture f;
    f.stored = f.input = JCS_GRAYSCALE;
    f.components = 1;
    f.left = {40};
    f.right = {200};
    f.scans.push_back({1, {0}, 0, 0, 0, 0});
    for (int k = 1; k < 64; ++k) {
        f.scans.push_back({1, {0}, k, k, 0, refined ? 1 : 0});
        if (refined)
            f.scans.push_back({1, {0}, k, k, 1, 0});
    }
    return f;
}

struct Segment {
    unsigned char marker;
    qsizetype offset;
};

// The file's marker segments in order, entropy-coded data skipped.
std::vector<Segment> Segments(const QByteArray& b) {
    auto at = [&](qsizetype i) { return static_cast<unsigned char>(b[i]); };
    std::vector<Segment> segments;
    qsizetype i = 2;
    while (i + 3 < b.size() && at(i) == 0xFF) {
        const unsigned char marker = at(i + 1);
        if (marker == 0xD9)
            break;
        segments.push_back({marker, i});
        i += 2 + (at(i + 2) << 8 | at(i + 3));
        if (marker == 0xDA)
            while (i + 1 < b.size() &&
                   !(at(i) == 0xFF && at(i + 1) != 0 && (at(i + 1) < 0xD0 || at(i + 1) > 0xD7)))
                ++i;
    }
    return segments;
}

qsizetype Find(const QByteArray& b, unsigned char marker, int nth = 0) {
    for (const Segment& s : Segments(b))
        if ((s.marker == marker || (marker == 0xC0 && s.marker >= 0xC0 && s.marker <= 0xC2)) &&
            nth-- == 0)
            return s.offset;
    return -1;
}

// Where the file is cut to end halfway through the data of its nth scan.
qsizetype MidScan(const QByteArray& b, int nth) {
    const std::vector<Segment> segments = Segments(b);
    for (std::size_t i = 0; i < segments.size(); ++i) {
        if (segments[i].marker != 0xDA || nth-- != 0)
            continue;
        const qsizetype sos = segments[i].offset;
        const qsizetype data =
            sos + 2 +
            (static_cast<unsigned char>(b[sos + 2]) << 8 | static_cast<unsigned char>(b[sos + 3]));
        const qsizetype end = i + 1 < segments.size() ? segments[i + 1].offset : b.size() - 2;
        return data + (end - data) / 2;
    }
    return -1;
}

// The same file claiming another size; its data then runs out early, which the decoder fills.
QByteArray Resized(QByteArray b, int width, int height) {
    const qsizetype sof = Find(b, 0xC0);
    b[sof + 5] = char(height >> 8);
    b[sof + 6] = char(height & 0xFF);
    b[sof + 7] = char(width >> 8);
    b[sof + 8] = char(width & 0xFF);
    return b;
}

// The same picture after comments of that many bytes in all.
QByteArray Padded(const QByteArray& b, qsizetype bytes) {
    QByteArray comments;
    while (comments.size() < bytes) {
        const int length = int(std::min<qsizetype>(bytes - comments.size(), 65000));
        comments += char(0xFF);
        comments += char(0xFE);
        comments += char((length + 2) >> 8);
        comments += char((length + 2) & 0xFF);
        comments += QByteArray(length, 'x');
    }
    return b.left(2) + comments + b.mid(2);
}

// Its second scan naming a component the frame does not have.
QByteArray BadSecondScan(QByteArray b) {
    b[Find(b, 0xDA, 1) + 5] = char(0x77);
    return b;
}

// One more scan header after the only scan of a sequential file.
QByteArray ScanAfterTheEnd(QByteArray b) {
    const qsizetype sos = Find(b, 0xDA);
    const int length =
        2 + (static_cast<unsigned char>(b[sos + 2]) << 8 | static_cast<unsigned char>(b[sos + 3]));
    b.insert(b.size() - 2, b.mid(sos, length));
    return b;
}

int Distance(QRgb a, QRgb b) {
    return std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                     std::abs(qBlue(a) - qBlue(b))});
}

} // namespace

class TestJpegImage : public QObject {
    Q_OBJECT

private slots:
    void decodes_data();
    void decodes();
    void loadOutcomes_data();
    void loadOutcomes();
};

void TestJpegImage::decodes_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("colors");
    QTest::addColumn<bool>("multiScan");
    QTest::addColumn<QColor>("left");
    QTest::addColumn<QColor>("right");
    const auto color = int(TJPEGImage::ColorSpace::Color);
    const auto grey = int(TJPEGImage::ColorSpace::Grayscale);
    const auto cmyk = int(TJPEGImage::ColorSpace::Cmyk);

    QTest::newRow("baseline") << Encode(Sound()) << color << false << QColor(Qt::red)
                              << QColor(Qt::blue);
    QTest::newRow("progressive") << Encode(Progressive()) << color << true << QColor(Qt::red)
                                 << QColor(Qt::blue);
    Fixture rgb = Sound();
    rgb.stored = JCS_RGB;
    QTest::newRow("stored as RGB")
        << Encode(rgb) << color << false << QColor(Qt::red) << QColor(Qt::blue);
    Fixture gray;
    gray.stored = gray.input = JCS_GRAYSCALE;
    gray.components = 1;
    gray.left = {40};
    gray.right = {200};
    QTest::newRow("greyscale") << Encode(gray) << grey << false << QColor(40, 40, 40)
                               << QColor(200, 200, 200);
    QTest::newRow("64 scans") << Encode(ManyScans(false)) << grey << true << QColor(40, 40, 40)
                              << QColor(200, 200, 200);

    // Ink amounts: red, and blue under half black.
    const Pixel redInk{0, 255, 255, 0};
    const Pixel darkBlueInk{255, 255, 0, 128};
    auto inverted = [](Pixel p) {
        for (auto& v : p)
            v = static_cast<unsigned char>(255 - v);
        return p;
    };
    Fixture adobe;
    adobe.stored = adobe.input = JCS_CMYK;
    adobe.components = 4;
    adobe.left = inverted(redInk);
    adobe.right = inverted(darkBlueInk);
    QTest::newRow("CMYK, Adobe") << Encode(adobe) << cmyk << false << QColor(Qt::red)
                                 << QColor(0, 0, 127);
    Fixture ycck = adobe;
    ycck.stored = JCS_YCCK;
    QTest::newRow("YCCK, Adobe") << Encode(ycck) << cmyk << false << QColor(Qt::red)
                                 << QColor(0, 0, 127);
    Fixture plain = adobe;
    plain.adobeMarker = false;
    plain.left = redInk;
    plain.right = darkBlueInk;
    QTest::newRow("CMYK, no Adobe marker")
        << Encode(plain) << cmyk << false << QColor(Qt::red) << QColor(0, 0, 127);
}

void TestJpegImage::decodes() {
    QFETCH(QByteArray, bytes);
    QFETCH(int, colors);
    QFETCH(bool, multiScan);
    QFETCH(QColor, left);
    QFETCH(QColor, right);

    TJPEGImage image;
    image.LoadFromBytes(std::vector<unsigned char>(bytes.begin(), bytes.end()));
    QCOMPARE(image.Width(), 32);
    QCOMPARE(image.Height(), 32);
    QCOMPARE(int(image.Colors()), colors);
    QCOMPARE(image.MultiScan(), multiScan);

    const QImage& bitmap = image.Bitmap();
    QCOMPARE(bitmap.size(), QSize(32, 32));
    QCOMPARE(bitmap.format(), colors == int(TJPEGImage::ColorSpace::Grayscale)
                                  ? QImage::Format_Grayscale8
                                  : QImage::Format_RGB32);
    for (int y : {0, 16, 31}) {
        QVERIFY2(Distance(bitmap.pixel(4, y), left.rgb()) <= 6,
                 qPrintable(QColor(bitmap.pixel(4, y)).name()));
        QVERIFY2(Distance(bitmap.pixel(27, y), right.rgb()) <= 6,
                 qPrintable(QColor(bitmap.pixel(27, y)).name()));
    }
}

void TestJpegImage::loadOutcomes_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<qint64>("fileSize"); // -1: the bytes; -2: no file; else that many zeros
    QTest::addColumn<int>("loadError");
    QTest::addColumn<int>("decodeError");
    QTest::addColumn<bool>("keepsRows"); // the bitmap has rows, and the top ones are red

    const QByteArray sound = Encode(Sound());
    const QByteArray progressive = Encode(Progressive());

    QTest::newRow("sound") << sound << -1LL << kNone << kNone << true;
    QTest::newRow("zero bytes") << QByteArray() << -1LL << kNone << int(JERR_INPUT_EMPTY) << false;
    QTest::newRow("not a JPEG") << QByteArray("GIF89a, or so it says") << -1LL << int(JERR_NO_SOI)
                                << kNone << false;
    QTest::newRow("ends in the header")
        << sound.left(Find(sound, 0xDA)) << -1LL << int(JERR_SOF_NO_SOS) << kNone << false;
    QTest::newRow("ends in the data")
        << sound.left(MidScan(sound, 0)) << -1LL << kNone << kNone << true;
    QTest::newRow("progressive, ends in a scan")
        << progressive.left(MidScan(progressive, 9)) << -1LL << kNone << kNone << true;
    // Everything was decoded before the library found the rest of the file wrong.
    QTest::newRow("scan after the end")
        << ScanAfterTheEnd(sound) << -1LL << kNone << int(JERR_EOI_EXPECTED) << true;
    // A multi-scan picture is read whole before its first row comes out.
    QTest::newRow("bad second scan")
        << BadSecondScan(progressive) << -1LL << kNone << int(JERR_BAD_COMPONENT_ID) << false;
    QTest::newRow("too many scans")
        << Encode(ManyScans(true)) << -1LL << kNone << int(JERR_BAD_PROGRESSION) << false;

    // Its data is there, but over so many blocks that the scans add up to too much work.
    QTest::newRow("too many blocks in all scans")
        << Resized(Encode(ManyScans(false)), 4000, 4000) << -1LL << kNone
        << int(JERR_BAD_PROGRESSION) << false;
    Fixture arithmetic = Sound();
    arithmetic.arithmetic = true;
    QTest::newRow("arithmetic coding") << Encode(arithmetic) << -1LL << kNone << kNone << true;
    QTest::newRow("arithmetic coding over its data bound")
        << Encode(arithmetic) + QByteArray(int(TJPEGImage::kMaxArithmeticBytes), '\0') << -1LL
        << int(JERR_OUT_OF_MEMORY) << kNone << false;

    QTest::newRow("over the pixel bound")
        << Resized(sound, 4000, int(TJPEGImage::kMaxPixels / 4000) + 1) << -1LL
        << int(JERR_IMAGE_TOO_BIG) << kNone << false;
    QTest::newRow("over the side bound") << Resized(sound, TJPEGImage::kMaxSide + 1, 8) << -1LL
                                         << int(JERR_IMAGE_TOO_BIG) << kNone << false;
    // Fine as a sequential picture, but its coefficient store would be 96 MB.
    QTest::newRow("multi-scan over the memory bound")
        << Resized(progressive, 4000, 4000) << -1LL << int(JERR_OUT_OF_MEMORY) << kNone << false;
    QTest::newRow("multi-scan over the data bound")
        << Padded(progressive, TJPEGImage::kMaxMultiScanBytes) << -1LL << int(JERR_OUT_OF_MEMORY)
        << kNone << false;
    QTest::newRow("sequential, as large")
        << Padded(sound, TJPEGImage::kMaxMultiScanBytes) << -1LL << kNone << kNone << true;
    QTest::newRow("file over the size bound") << QByteArray() << qint64(kMaxPictureFileBytes) + 1
                                              << int(JERR_OUT_OF_MEMORY) << kNone << false;
    QTest::newRow("missing file") << QByteArray() << -2LL << kOpenError << kNone << false;

    Fixture two;
    two.stored = two.input = JCS_UNKNOWN;
    two.components = 2;
    QTest::newRow("two components")
        << Encode(two) << -1LL << int(JERR_CONVERSION_NOTIMPL) << kNone << false;
}

void TestJpegImage::loadOutcomes() {
    QFETCH(QByteArray, bytes);
    QFETCH(qint64, fileSize);
    QFETCH(int, loadError);
    QFETCH(int, decodeError);
    QFETCH(bool, keepsRows);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const std::string path = dir.filePath("karte.jpg").toStdString();
    if (fileSize == -1) {
        std::ofstream(path, std::ios::binary).write(bytes.constData(), bytes.size());
    } else if (fileSize >= 0) {
        FILE* f = std::fopen(path.c_str(), "wb");
        QVERIFY(f != nullptr);
        QVERIFY(::ftruncate(::fileno(f), fileSize) == 0);
        std::fclose(f);
    }

    // Every load starts over a picture already shown, which a failed load must leave alone.
    TJPEGImage image;
    const QByteArray previousBytes = Encode(Progressive());
    image.LoadFromBytes(std::vector<unsigned char>(previousBytes.begin(), previousBytes.end()));
    const QImage previous = image.Bitmap();
    int code = kNone;
    try {
        image.LoadFromFile(path);
    } catch (const EFOpenError&) {
        code = kOpenError;
    } catch (const EJPEG& e) {
        code = e.Code();
    }
    QCOMPARE(code, loadError);
    if (code != kNone) {
        QCOMPARE(image.Width(), previous.width());
        QCOMPARE(image.Bitmap(), previous);
        return;
    }

    code = kNone;
    try {
        image.Bitmap();
    } catch (const EJPEG& e) {
        code = e.Code();
    }
    QCOMPARE(code, decodeError);
    // Reported once; from then on the same picture, without an error.
    const QImage& kept = image.Bitmap();
    QCOMPARE(kept.isNull(), !keepsRows);
    if (keepsRows) {
        QCOMPARE(kept.size(), QSize(image.Width(), image.Height()));
        QVERIFY(Distance(kept.pixel(2, 2), qRgb(255, 0, 0)) <= 6);
    }
}

QTEST_GUILESS_MAIN(TestJpegImage)
#include "tst_jpegimage.moc"
