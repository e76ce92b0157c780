#include "PictureFile.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <optional>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    int get() const { return fd_; }
    explicit operator bool() const { return fd_ >= 0; }

private:
    int fd_;
};

char LowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualIgnoringAsciiCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return LowerAscii(x) == LowerAscii(y);
           });
}

bool Exists(const std::string& path) {
    struct stat st;
    return ::lstat(path.c_str(), &st) == 0;
}

std::string Join(const std::string& dir, const std::string& name) {
    if (dir.empty())
        return name;
    if (dir.back() == '/')
        return dir + name;
    return dir + '/' + name;
}

// The entry of dir whose name equals name ignoring ASCII case; the byte-wise smallest when
// several do, so the same folder always gives the same answer. Only folders qualify when the
// path goes on below the entry.
std::optional<std::string> FindIgnoringCase(const std::string& dir, const std::string& name,
                                            bool mustBeFolder) {
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::directory_iterator it(dir.empty() ? "." : dir, ec);
    std::optional<std::string> best;
    for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
        std::string entry = it->path().filename().string();
        if (!EqualIgnoringAsciiCase(entry, name))
            continue;
        if (mustBeFolder) {
            std::error_code statError;
            if (!it->is_directory(statError))
                continue;
        }
        if (!best || entry < *best)
            best = std::move(entry);
    }
    return best;
}

} // namespace

EPictureFileTooLarge::EPictureFileTooLarge(const std::string& path, std::size_t limit)
    : Exception("Datei " + path +
                " ist gr\xC3\xB6\xC3\x9F"
                "er als " +
                std::to_string(limit) + " Bytes") {}

std::string ResolvePictureFilePath(const std::string& path) {
    std::string native = path;
    std::replace(native.begin(), native.end(), '\\', '/');
    if (native.empty() || Exists(native))
        return native;

    std::vector<std::string> components;
    for (std::size_t start = 0; start <= native.size();) {
        std::size_t end = native.find('/', start);
        if (end == std::string::npos)
            end = native.size();
        if (end > start)
            components.push_back(native.substr(start, end - start));
        start = end + 1;
    }

    std::string resolved = native.front() == '/' ? "/" : "";
    bool found = true;
    for (std::size_t i = 0; i < components.size(); ++i) {
        const std::string& component = components[i];
        const bool last = i + 1 == components.size();
        std::string next = Join(resolved, component);
        // Once a component matched nothing, the rest cannot be looked up; keep it as written.
        if (found && component != "." && component != ".." && !Exists(next)) {
            if (auto match = FindIgnoringCase(resolved, component, !last))
                next = Join(resolved, *match);
            else
                found = false;
        }
        resolved = std::move(next);
    }
    // A trailing separator names a folder; dropping it could turn the path into a file's.
    if (native.back() == '/' && resolved.back() != '/')
        resolved += '/';
    return resolved;
}

std::vector<unsigned char> ReadPictureFile(const std::string& path, std::size_t maxBytes) {
    const std::string resolved = ResolvePictureFilePath(path);
    // Non-blocking so that a FIFO under a picture's name is refused at once instead of waiting
    // for a writer; it has no effect on the regular files we go on to read.
    FileDescriptor fd(::open(resolved.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (!fd)
        throw EFOpenError(path);
    struct stat st;
    if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode))
        throw EFOpenError(path);
    if (st.st_size < 0 || static_cast<unsigned long long>(st.st_size) > maxBytes)
        throw EPictureFileTooLarge(path, maxBytes);

    // One byte past the size fstat gave, so a file that grew meanwhile is noticed; never more
    // than one byte past the bound.
    std::vector<unsigned char> bytes(static_cast<std::size_t>(st.st_size) + 1);
    std::size_t filled = 0;
    for (;;) {
        if (filled == bytes.size()) {
            if (filled > maxBytes)
                throw EPictureFileTooLarge(path, maxBytes);
            bytes.resize(std::min(maxBytes + 1, std::max<std::size_t>(bytes.size() * 2, 4096)));
        }
        const ssize_t n = ::read(fd.get(), bytes.data() + filled, bytes.size() - filled);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            throw EFOpenError(path);
        }
        if (n == 0)
            break;
        filled += static_cast<std::size_t>(n);
    }
    if (filled > maxBytes)
        throw EPictureFileTooLarge(path, maxBytes);
    bytes.resize(filled);
    return bytes;
}
