// Errors raised by platform operations. Handlers never catch them: the platform catches one where
// it dispatched the event that raised it and shows it with the default error display.
#pragma once

#include <stdexcept>
#include <string>

class Exception : public std::runtime_error {
public:
    explicit Exception(const std::string& message) : std::runtime_error(message) {}
    // UTF-8.
    std::string Message() const { return what(); }
};

// A file that cannot be opened for reading.
class EFOpenError : public Exception {
public:
    explicit EFOpenError(const std::string& path);
};

// JPEG data that libjpeg (or one of our bounds on a picture's cost) rejects.
class EJPEG : public Exception {
public:
    explicit EJPEG(int messageCode);
    int Code() const { return code; }

private:
    int code;
};

// A path whose extension no picture class is registered for.
class EInvalidGraphic : public Exception {
public:
    explicit EInvalidGraphic(const std::string& extension);
};
