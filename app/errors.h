// The failures the commands raise besides EConvertError. The top-level error
// display shows any of them with its message.
#pragma once

#include <stdexcept>
#include <string>

// A printer failure: no default printer, a printer that is not valid, a job
// already open, settings that cannot be had.
class EPrinter : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A failed system call, such as the printer list that cannot be read.
class EOSError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};
