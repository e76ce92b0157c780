// Any bytes at all, as a picture file in the card folder could hold them: loading and decoding
// may refuse them with our exceptions, but must not crash, hang or grow without bound.
#include "Exception.h"
#include "TJPEGImage.h"

#include <QImage>

#include <cstddef>
#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    TJPEGImage image;
    try {
        image.LoadFromBytes(std::vector<unsigned char>(data, data + size));
    } catch (const Exception&) {
        return 0;
    }
    // Within the bounds, but decoding a picture of many megapixels slows the search for no new
    // paths: the rows are decoded by the same code at any size.
    if (static_cast<long long>(image.Width()) * image.Height() > 4'000'000)
        return 0;
    try {
        image.Bitmap();
    } catch (const Exception&) {
    }
    // The second call must return what the first one kept, without an error.
    const QImage& kept = image.Bitmap();
    if (!kept.isNull() && (kept.width() != image.Width() || kept.height() != image.Height()))
        __builtin_trap();
    return 0;
}
