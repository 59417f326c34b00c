#pragma once
// Errors travel as exceptions carrying the text the user will read.
#include <stdexcept>
#include <string>

class Exception : public std::runtime_error {
public:
    explicit Exception(const std::string& message) : std::runtime_error(message) {}
    std::string Message() const { return what(); }
};

// Text that is not a valid number.
class EConvertError : public Exception {
public:
    using Exception::Exception;
};

// A file operation that failed (the data log).
class EInOutError : public Exception {
public:
    using Exception::Exception;
};

// A thread that could not be created.
class EThread : public Exception {
public:
    using Exception::Exception;
};
