// Reading a picture file named the way the program names them: "\" separators, relative to the
// working directory, and with the letter case the names had on the system the pictures were made
// on, which need not be the case they have on disk here.
#pragma once

#include "Exception.h"

#include <cstddef>
#include <string>
#include <vector>

// A card picture is some tens of KB. A file over 150 times that is not a picture we want to hold
// or decode, and refusing it keeps a stray huge file in the picture folder from costing memory
// and time: 8 MiB of JPEG data takes up to 0.2 s of CPU to decode.
inline constexpr std::size_t kMaxPictureFileBytes = std::size_t{8} << 20;

// A file that is there and readable but larger than the reader accepts. The picture class that
// asked for it reports the refusal in its own terms.
class EPictureFileTooLarge : public Exception {
public:
    EPictureFileTooLarge(const std::string& path, std::size_t limit);
};

// The whole content of the regular file at path. "\" separators become "/", a relative path
// starts at the working directory, and a name that does not exist as written is looked up again
// ignoring ASCII letter case, one path component at a time.
// Throws EFOpenError(path) when there is no such regular file or it cannot be read (a folder,
// FIFO or device never blocks and is refused), and EPictureFileTooLarge when it holds more than
// maxBytes.
std::vector<unsigned char> ReadPictureFile(const std::string& path,
                                           std::size_t maxBytes = kMaxPictureFileBytes);

// The path as the file system sees it: separators mapped and, where the name as written does not
// exist, each missing component replaced by the entry that matches it ignoring ASCII case (an
// exact match wins, then the byte-wise smallest). Components that match nothing are kept as
// written, so the result then names a file that does not exist.
std::string ResolvePictureFilePath(const std::string& path);
