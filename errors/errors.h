// The failures the program raises besides EConvertError. The top-level error
// display shows any of them with its message; EAbort is shown by nobody.
#pragma once

#include <stdexcept>
#include <string>

// A printer failure: no default printer, a printer that is not valid, a job
// already open, a job the print service did not accept.
class EPrinter : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A file that could not be read or written; the message says why in words.
class EFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A failed system call. The message is "システムエラー。コード：<errno>.\r\n"
// followed by the system's text for that code (SystemErrorMessage).
class EOSError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A command the user called off (a file not replaced, a dialog cancelled):
// it ends the command quietly, with nothing changed.
class EAbort : public std::runtime_error {
public:
    EAbort() : std::runtime_error("") {}
};

// A message as the error box shows it: with a "." appended, unless it is
// empty or its last byte's code is not above that of ".".
std::string WithFinalPeriod(const std::string& message);

// "システムエラー。コード：<code>.\r\n<text of the code>", then `detail` on a
// line of its own when it is not empty; "OS 機能呼び出しの失敗" for code 0.
std::string SystemErrorMessage(int code, const std::string& detail = {});
