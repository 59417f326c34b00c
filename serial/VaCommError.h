#pragma once
// The exception the serial port component raises; it carries the text shown to the user.
#include "platform/Exception.h"

class EVaCommError : public Exception {
public:
    using Exception::Exception;
};
