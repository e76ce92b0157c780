// JPEG compression through libjpeg, with no Qt: the renderer writes the picture set with it, and
// the tests and benchmarks make the pictures they feed the decoder.
#pragma once

#include <cstddef>
#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <jpeglib.h>

struct JpegEncoding {
    int width = 0;
    int height = 0;
    J_COLOR_SPACE input = JCS_RGB;       // how the rows come in
    int components = 3;                  // bytes per pixel of a row
    std::optional<J_COLOR_SPACE> stored; // unset: libjpeg's choice for the input
    int quality = 90;
    bool fullChroma = false;           // every component at full resolution, else libjpeg's 4:2:0
    bool progressive = false;          // libjpeg's usual progression, about 10 scans
    std::vector<jpeg_scan_info> scans; // a scan script of its own, in place of the above
    bool arithmetic = false;
    bool optimizeCoding = true; // Huffman tables made for the picture; still baseline, smaller
    bool adobeMarker = true;    // false leaves out the one libjpeg writes for RGB, CMYK, YCCK
};

// Fills in row y of width * components bytes. The rows are asked for top to bottom, one at a
// time, so that even the largest picture needs only one row of pixels in memory.
using JpegRowFiller = std::function<void(int y, unsigned char* row)>;

// Returns the compressed file, or an empty vector with libjpeg's message in *error. An exception
// from fillRow is passed on.
std::vector<unsigned char> EncodeJpeg(const JpegEncoding& encoding, const JpegRowFiller& fillRow,
                                      std::string* error = nullptr);
