// Any bytes at all, as a picture file in the card folder could hold them: loading and decoding
// may refuse them with our exceptions, but must not crash, hang or grow without bound.
#include "Exception.h"
#include "TJPEGImage.h"

#include <QImage>

#include <cstddef>
#include <cstdint>
#include <vector>

#include <jpeglib.h>
// After jpeglib.h, this first inclusion defines the J_MESSAGE_CODE enum.
#include <jerror.h>

namespace {

volatile int sink;

// libjpeg is the system's, built without the fuzzer's instrumentation, so the search cannot see
// its branches. One branch here for each message code it can stop with, apart for each stage,
// gives back a little of that guidance: an input that reaches a new error is kept.
enum Stage { Load, Decode, Header };

template <Stage> void Note(int code) {
    switch (code) {
#define JMESSAGE(c, s)                                                                             \
    case c:                                                                                        \
        sink = c;                                                                                  \
        break;
#include <jerror.h>
    default:
        sink = -1;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    TJPEGImage image;
    try {
        image.LoadFromBytes(std::vector<unsigned char>(data, data + size));
    } catch (const EJPEG& e) {
        Note<Load>(e.Code());
        return 0;
    }
    Note<Header>(static_cast<int>(image.Colors()) * 2 + (image.MultiScan() ? 1 : 0));
    // Within the bounds, but decoding a picture of many megapixels slows the search for no new
    // paths: the rows are decoded by the same code at any size.
    if (static_cast<long long>(image.Width()) * image.Height() > 4'000'000)
        return 0;
    try {
        image.Bitmap();
    } catch (const EJPEG& e) {
        Note<Decode>(e.Code());
    }
    // The second call must return what the first one kept, without an error.
    const QImage& kept = image.Bitmap();
    if (!kept.isNull() && (kept.width() != image.Width() || kept.height() != image.Height()))
        __builtin_trap();
    return 0;
}
