#pragma once

#include <exception>
#include <string>

// The failure family of the program. Every failure carries a message that the top-level
// error display shows; nothing in the program catches them on the way.
class Exception : public std::exception {
public:
    explicit Exception(std::string message);

    const std::string& Message() const { return message_; }
    const char* what() const noexcept override { return message_.c_str(); }

private:
    std::string message_;
};

// A text that is no number.
class EConvertError : public Exception {
public:
    using Exception::Exception;
};

// A floating-point result beyond the single-precision range.
class EOverflow : public Exception {
public:
    using Exception::Exception;
};

// The silent failure: it ends a handler without a message.
class EAbort : public Exception {
public:
    using Exception::Exception;
};

// A form description that cannot be found.
class EResNotFound : public Exception {
public:
    using Exception::Exception;
};

// A setting of a form description that cannot be read.
class EReadError : public Exception {
public:
    using Exception::Exception;
};

// The clipboard cannot be taken.
class EClipboardException : public Exception {
public:
    using Exception::Exception;
};
