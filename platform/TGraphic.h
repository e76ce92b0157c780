// A picture that a TPicture holds: loaded from a file (or bytes) cheaply, decoded when first drawn.
#pragma once

#include <string>
#include <vector>

class QImage;

class TGraphic {
public:
    virtual ~TGraphic() = default;

    // Reads the whole file and checks what can be checked without decoding. Throws EFOpenError or
    // EJPEG; on a throw the graphic is left as it was.
    virtual void LoadFromFile(const std::string& path) = 0;
    // The same for data already in memory.
    virtual void LoadFromBytes(std::vector<unsigned char> bytes) = 0;

    virtual int Width() const = 0;
    virtual int Height() const = 0;

    // The decoded picture, made on the first call and kept. When decoding fails part-way, what was
    // decoded is kept (a null image when nothing was) and the error is thrown from that first
    // call only; later calls return the kept image without an error.
    virtual const QImage& Bitmap() = 0;
};
