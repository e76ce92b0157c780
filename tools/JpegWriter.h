// Baseline JPEG encoding through libjpeg, so the pictures do not depend on which image plugins
// a Qt installation happens to ship.
#pragma once

#include <QImage>
#include <QString>

#include <string>
#include <vector>

struct JpegOptions {
    int quality = 90;
    bool subsample = true; // 4:2:0 chroma; false keeps full colour resolution (4:4:4)
};

// Returns the encoded bytes, or an empty vector with the library's message in *error.
std::vector<unsigned char> encodeJpeg(const QImage& image, const JpegOptions& options = {},
                                      std::string* error = nullptr);

// Encodes and writes the file; false with a message in *error when either step fails.
bool writeJpeg(const QImage& image, const QString& path, const JpegOptions& options = {},
               std::string* error = nullptr);
