#include "TJPEGImage.h"

#include "Exception.h"
#include "PictureFile.h"

#include <QtEndian>

#include <algorithm>
#include <csetjmp>
#include <cstddef>
#include <cstdio>
#include <utility>

#include <jpeglib.h>
// After jpeglib.h, this first inclusion defines the J_MESSAGE_CODE enum.
#include <jerror.h>

// libjpeg reports a fatal error by calling error_exit, which must not return; ours longjmps back
// to the function that started the library call. Everything between that function and the
// longjmp is C (libjpeg, and the callbacks below), and the function itself holds no object with a
// destructor, so the jump skips no cleanup. The C++ side throws only after the library returned.

namespace {

constexpr int kOk = -1; // not a J_MESSAGE_CODE

// The coefficient store of a multi-scan picture is the one allocation that grows with the
// picture's size inside libjpeg; the rest (row buffers, tables) is a few MB even at the widest
// picture we accept. The slack keeps the library's own limit from triggering first.
constexpr long long kMaxCoefficientBytes = TJPEGImage::kMaxLibraryMemory;
constexpr long kLibraryMemorySlack = 8L << 20;

struct ErrorManager {
    jpeg_error_mgr pub; // first, so a j_common_ptr's err converts back to us
    std::jmp_buf jump;
};

struct Progress {
    jpeg_progress_mgr pub; // first, so cinfo->progress converts back to us
    int countedScans;
    long long scanBlocks;
};

// Everything the library touches lives here, in the frame of the C++ caller, and not as locals of
// the function that calls setjmp: locals changed after setjmp are indeterminate after a longjmp.
struct Decompressor {
    jpeg_decompress_struct cinfo;
    ErrorManager error;
    Progress progress;
};

struct HeaderInfo {
    int width = 0;
    int height = 0;
    TJPEGImage::ColorSpace colors = TJPEGImage::ColorSpace::None;
    bool multiScan = false;
};

// Raw pointers into storage the C++ caller owns.
struct DecodeTarget {
    unsigned char* bits = nullptr; // first row of the bitmap
    std::ptrdiff_t bytesPerLine = 0;
    unsigned char* cmykRow = nullptr; // one row of 4-byte pixels, for CMYK pictures only
    int rowsDone = 0;
};

void ExitByJump(j_common_ptr cinfo) {
    auto* error = reinterpret_cast<ErrorManager*>(cinfo->err);
    std::longjmp(error->jump, 1);
}

// Warnings (corrupt data that the decoder works around, a file that ends early) are not errors
// for us: the picture shows what the decoder made of it.
void IgnoreMessage(j_common_ptr, int) {}
void IgnoreOutput(j_common_ptr) {}

// The library calls this before each row of input it decodes and each call that makes output
// rows; a new scan's header has been read and its geometry set up by then, its data not touched.
void LimitScans(j_common_ptr cinfo) {
    if (!cinfo->is_decompressor)
        return;
    auto* dinfo = reinterpret_cast<j_decompress_ptr>(cinfo);
    auto* progress = reinterpret_cast<Progress*>(cinfo->progress);
    if (dinfo->input_scan_number == progress->countedScans)
        return;
    progress->countedScans = dinfo->input_scan_number;
    if (progress->countedScans > TJPEGImage::kMaxScans)
        ERREXIT(cinfo, JERR_BAD_PROGRESSION);
    // For a scan of one component its MCU is one block.
    progress->scanBlocks += static_cast<long long>(dinfo->MCUs_per_row) * dinfo->MCU_rows_in_scan *
                            dinfo->blocks_in_MCU;
    if (progress->scanBlocks > TJPEGImage::kMaxScanBlocks)
        ERREXIT(cinfo, JERR_BAD_PROGRESSION);
}

// What the coefficient store of a multi-scan picture takes, rounded the way the library rounds it.
long long CoefficientBytes(const jpeg_decompress_struct& cinfo) {
    long long total = 0;
    for (int i = 0; i < cinfo.num_components; ++i) {
        const jpeg_component_info& c = cinfo.comp_info[i];
        const long long columns =
            (static_cast<long long>(c.width_in_blocks) + c.h_samp_factor - 1) / c.h_samp_factor *
            c.h_samp_factor;
        const long long rows = (static_cast<long long>(c.height_in_blocks) + c.v_samp_factor - 1) /
                               c.v_samp_factor * c.v_samp_factor;
        total += columns * rows * static_cast<long long>(sizeof(JBLOCK));
    }
    return total;
}

// After jpeg_read_header: the header as we use it, or the code of the bound it breaks.
int CheckHeader(jpeg_decompress_struct& cinfo, std::size_t size, HeaderInfo* info) {
    const long long width = cinfo.image_width;
    const long long height = cinfo.image_height;
    if (width > TJPEGImage::kMaxSide || height > TJPEGImage::kMaxSide ||
        width * height > TJPEGImage::kMaxPixels)
        return JERR_IMAGE_TOO_BIG;
    if (cinfo.arith_code && static_cast<long long>(size) > TJPEGImage::kMaxArithmeticBytes)
        return JERR_OUT_OF_MEMORY;
    const bool multiScan = jpeg_has_multiple_scans(&cinfo);
    if (multiScan && (static_cast<long long>(size) > TJPEGImage::kMaxMultiScanBytes ||
                      CoefficientBytes(cinfo) > kMaxCoefficientBytes))
        return JERR_OUT_OF_MEMORY;

    TJPEGImage::ColorSpace colors = TJPEGImage::ColorSpace::None;
    switch (cinfo.jpeg_color_space) {
    case JCS_GRAYSCALE:
        colors = TJPEGImage::ColorSpace::Grayscale;
        break;
    case JCS_YCbCr:
    case JCS_RGB:
        colors = TJPEGImage::ColorSpace::Color;
        break;
    case JCS_CMYK:
    case JCS_YCCK:
        colors = TJPEGImage::ColorSpace::Cmyk;
        break;
    default: // two components, or five: nothing we could show
        return JERR_CONVERSION_NOTIMPL;
    }
    info->width = static_cast<int>(width);
    info->height = static_cast<int>(height);
    info->colors = colors;
    info->multiScan = multiScan;
    return kOk;
}

void PrepareErrorHandling(Decompressor* d) {
    d->cinfo.err = jpeg_std_error(&d->error.pub);
    d->error.pub.error_exit = ExitByJump;
    d->error.pub.emit_message = IgnoreMessage;
    d->error.pub.output_message = IgnoreOutput;
}

// Must be the first library call after setjmp armed the jump: it can fail.
void StartReading(Decompressor* d, const unsigned char* data, std::size_t size) {
    jpeg_create_decompress(&d->cinfo);
    d->cinfo.mem->max_memory_to_use = TJPEGImage::kMaxLibraryMemory + kLibraryMemorySlack;
    d->progress.pub.progress_monitor = LimitScans;
    d->cinfo.progress = &d->progress.pub;
    // Raises the empty-input error itself for zero bytes.
    jpeg_mem_src(&d->cinfo, data, static_cast<unsigned long>(size));
    jpeg_read_header(&d->cinfo, TRUE);
}

int ReadHeader(Decompressor* d, const unsigned char* data, std::size_t size, HeaderInfo* info) {
    PrepareErrorHandling(d);
    if (setjmp(d->error.jump)) {
        jpeg_destroy_decompress(&d->cinfo);
        return d->error.pub.msg_code;
    }
    StartReading(d, data, size);
    const int code = CheckHeader(d->cinfo, size, info);
    jpeg_destroy_decompress(&d->cinfo);
    return code;
}

void CmykToRgb32(const unsigned char* cmyk, unsigned char* rgb32, int width, bool inverted) {
    auto* out = reinterpret_cast<quint32*>(rgb32);
    for (int x = 0; x < width; ++x, cmyk += 4) {
        // Adobe's files store 255 for no ink; others store the amount of ink.
        const unsigned c = inverted ? cmyk[0] : 255u - cmyk[0];
        const unsigned m = inverted ? cmyk[1] : 255u - cmyk[1];
        const unsigned y = inverted ? cmyk[2] : 255u - cmyk[2];
        const unsigned k = inverted ? cmyk[3] : 255u - cmyk[3];
        out[x] = qRgb(static_cast<int>((c * k + 127) / 255), static_cast<int>((m * k + 127) / 255),
                      static_cast<int>((y * k + 127) / 255));
    }
}

int DecodeRows(Decompressor* d, const unsigned char* data, std::size_t size,
               const HeaderInfo* expected, DecodeTarget* target) {
    PrepareErrorHandling(d);
    if (setjmp(d->error.jump)) {
        jpeg_destroy_decompress(&d->cinfo);
        return d->error.pub.msg_code;
    }
    StartReading(d, data, size);
    jpeg_decompress_struct& cinfo = d->cinfo;

    HeaderInfo info;
    int code = CheckHeader(cinfo, size, &info);
    if (code == kOk && (info.width != expected->width || info.height != expected->height ||
                        info.colors != expected->colors))
        code = JERR_BAD_STATE; // the bytes changed under us: a bug, not a bad file
    const bool cmyk = info.colors == TJPEGImage::ColorSpace::Cmyk;
    if (code == kOk && (target->bits == nullptr || (cmyk && target->cmykRow == nullptr)))
        code = JERR_BAD_STATE; // no room made for the rows: a bug as well
    if (code != kOk) {
        jpeg_destroy_decompress(&cinfo);
        return code;
    }

    if (info.colors == TJPEGImage::ColorSpace::Grayscale)
        cinfo.out_color_space = JCS_GRAYSCALE;
    else if (cmyk)
        cinfo.out_color_space = JCS_CMYK; // YCCK comes out as CMYK too
    else // the byte order of QImage::Format_RGB32 in memory, with 0xFF in the unused byte
        cinfo.out_color_space = Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? JCS_EXT_BGRX : JCS_EXT_XRGB;

    jpeg_start_decompress(&cinfo);
    if (cinfo.output_width != static_cast<JDIMENSION>(info.width) ||
        cinfo.output_height != static_cast<JDIMENSION>(info.height)) {
        jpeg_destroy_decompress(&cinfo);
        return JERR_BAD_STATE;
    }

    constexpr int kBatch = 16; // at least rec_outbuf_height, the rows one call can give
    while (cinfo.output_scanline < cinfo.output_height) {
        const int first = static_cast<int>(cinfo.output_scanline);
        JSAMPROW rows[kBatch];
        int count = 1;
        if (cmyk) {
            rows[0] = target->cmykRow;
        } else {
            count = std::min(kBatch, info.height - first);
            for (int i = 0; i < count; ++i)
                rows[i] = target->bits + (first + i) * target->bytesPerLine;
        }
        const JDIMENSION got = jpeg_read_scanlines(&cinfo, rows, static_cast<JDIMENSION>(count));
        if (got == 0) { // only a suspending source returns nothing; never loop on it
            jpeg_destroy_decompress(&cinfo);
            return JERR_BAD_STATE;
        }
        if (cmyk)
            CmykToRgb32(target->cmykRow, target->bits + first * target->bytesPerLine, info.width,
                        cinfo.saw_Adobe_marker);
        target->rowsDone = first + static_cast<int>(got);
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return kOk;
}

} // namespace

void TJPEGImage::LoadFromFile(const std::string& path) {
    std::vector<unsigned char> bytes;
    try {
        bytes = ReadPictureFile(path);
    } catch (const EPictureFileTooLarge&) {
        throw EJPEG(JERR_OUT_OF_MEMORY);
    }
    LoadFromBytes(std::move(bytes));
}

void TJPEGImage::LoadFromBytes(std::vector<unsigned char> bytes) {
    if (bytes.size() > kMaxPictureFileBytes)
        throw EJPEG(JERR_OUT_OF_MEMORY);
    HeaderInfo info;
    if (!bytes.empty()) {
        // Zeroed, so that a failure inside jpeg_create_decompress finds nothing to free.
        Decompressor d{};
        const int code = ReadHeader(&d, bytes.data(), bytes.size(), &info);
        if (code != kOk)
            throw EJPEG(code);
    }
    bytes_ = std::move(bytes);
    width_ = info.width;
    height_ = info.height;
    colors_ = info.colors;
    multiScan_ = info.multiScan;
    decoded_ = false;
    bitmap_ = QImage();
}

const QImage& TJPEGImage::Bitmap() {
    if (decoded_)
        return bitmap_;
    // From here on, whatever happens, this was the one call that may report it.
    decoded_ = true;

    const QImage::Format format =
        colors_ == ColorSpace::Grayscale ? QImage::Format_Grayscale8 : QImage::Format_RGB32;
    QImage image;
    if (width_ > 0 && height_ > 0) {
        image = QImage(width_, height_, format);
        if (image.isNull())
            throw EJPEG(JERR_OUT_OF_MEMORY);
    }
    std::vector<unsigned char> cmykRow(colors_ == ColorSpace::Cmyk ? std::size_t(width_) * 4 : 0);

    HeaderInfo expected;
    expected.width = width_;
    expected.height = height_;
    expected.colors = colors_;
    DecodeTarget target;
    target.bits = image.isNull() ? nullptr : image.bits();
    target.bytesPerLine = image.bytesPerLine();
    target.cmykRow = cmykRow.data();

    Decompressor d{};
    const int code = DecodeRows(&d, bytes_.data(), bytes_.size(), &expected, &target);
    if (code == kOk) {
        bitmap_ = std::move(image);
        return bitmap_;
    }
    if (target.rowsDone > 0) {
        // The rows the decoder never reached would otherwise show whatever the allocator left.
        for (int y = target.rowsDone; y < height_; ++y) {
            unsigned char* row = image.scanLine(y);
            if (format == QImage::Format_Grayscale8)
                std::fill(row, row + width_, 0);
            else
                std::fill_n(reinterpret_cast<QRgb*>(row), width_, qRgb(0, 0, 0));
        }
        bitmap_ = std::move(image);
    }
    throw EJPEG(code);
}
