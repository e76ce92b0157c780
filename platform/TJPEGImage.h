// A JPEG picture, decoded by libjpeg and never by Qt's image plugins, so what a card looks like
// does not depend on the plugins a Qt installation happens to ship.
#pragma once

#include "TGraphic.h"

#include <QImage>

#include <string>
#include <vector>

class TJPEGImage : public TGraphic {
public:
    // What the header says, read when the picture is loaded.
    enum class ColorSpace { None, Grayscale, Color, Cmyk };

    TJPEGImage() = default;

    // Throws EFOpenError, or EJPEG when the header is rejected or the picture is over one of the
    // bounds below. A zero-byte file loads; its error comes from Bitmap().
    void LoadFromFile(const std::string& path) override;
    void LoadFromBytes(std::vector<unsigned char> bytes) override;

    int Width() const override { return width_; }
    int Height() const override { return height_; }
    ColorSpace Colors() const { return colors_; }
    // Progressive, or sequential with the components in separate scans: the whole picture is
    // buffered before the first row comes out.
    bool MultiScan() const { return multiScan_; }

    // RGB32 for colour and CMYK pictures, Grayscale8 for grey ones. Throws EJPEG from the first
    // call only; see TGraphic.
    const QImage& Bitmap() override;

    // What one picture may cost. A card is about 400 x 600 pixels in 50 KB, sequential or in about
    // 10 scans. Each bound is far above that, and together they keep any picture that passes them
    // under half a second of CPU and 200 MB (measured with bench_decode --hostile on a 2-core
    // cloud machine: worst cases 0.23 s, 0.3 s with the other core busy, and 125 MB in all). The
    // rates that set them, on that machine: the output rows cost up to 7 ns a pixel, sequential
    // data 11 ns a byte, and a scan of a multi-scan picture 16 ns a block plus, at worst, 80 ns a
    // byte of its data. A picture over a bound is refused with the closest libjpeg code:
    // JERR_IMAGE_TOO_BIG for its size, JERR_OUT_OF_MEMORY for bytes and memory,
    // JERR_BAD_PROGRESSION for scans.
    //
    // 4000 x 4000; the RGB32 bitmap is 64 MB and its rows take up to 0.1 s.
    static constexpr long long kMaxPixels = 16'000'000;
    // Keeps the bitmap's rows and the painter's scaling arithmetic well inside int.
    static constexpr int kMaxSide = 16384;
    // The file size bound (PictureFile.h) holds for all pictures; a multi-scan one decodes up to
    // eight times slower per byte, so its data has a bound of its own.
    static constexpr long long kMaxMultiScanBytes = 2LL << 20;
    // A real progressive file has about 10 scans.
    static constexpr int kMaxScans = 100;
    // Blocks decoded, summed over the scans: every scan is one more pass over the blocks of its
    // components. Ten scans of a 4000 x 4000 picture with halved chroma are about 2 million.
    static constexpr long long kMaxScanBlocks = 4'000'000;
    // libjpeg's working memory, nearly all of it the coefficient store of a multi-scan picture:
    // about 6 bytes a pixel at full colour resolution, 3 with the usual halved chroma.
    static constexpr long kMaxLibraryMemory = 64L << 20;
    // Arithmetic-coded data takes over 15 times as long per byte as Huffman-coded data (about
    // 180 ns), so it has the tightest data bound.
    static constexpr long long kMaxArithmeticBytes = 1LL << 20;

private:
    std::vector<unsigned char> bytes_;
    int width_ = 0;
    int height_ = 0;
    ColorSpace colors_ = ColorSpace::None;
    bool multiScan_ = false;
    bool decoded_ = false;
    QImage bitmap_;
};
