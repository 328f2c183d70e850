#pragma once

// Error texts, the functions that throw the program's exceptions, and the functions that show an
// exception or a system error in a message box.

#include "utils/message_box.h"

#include <exception>
#include <string>

namespace utils {

// Stands for the calling thread's last error (errno) in SystemErrorText and ThrowSystemError.
inline constexpr int kLastError = -1;

// The text of a socket error code: its string table text, "error #" + code when there is none;
// a negated errno (see SocketErrorCodeFromErrno) gives that error's system text.
std::string ErrorCodeText(int code);
// The system's text for errno value code (kLastError: the current errno); "unknown error" when the
// system has none.
std::string SystemErrorText(int code = kLastError);

// Throws std::runtime_error with the text of string resource id.
[[noreturn]] void ThrowResourceError(unsigned int id);
// Throw std::runtime_error with the template (or the template of string resource id) filled with
// SystemErrorText(code).
[[noreturn]] void ThrowSystemError(unsigned int id, int code = kLastError);
[[noreturn]] void ThrowSystemError(const std::string& messageTemplate, int code = kLastError);
// Throws std::runtime_error with messagePrefix followed by SystemErrorText(code). Unlike a template,
// the prefix may hold "{}" (as a file name may) without it being filled.
[[noreturn]] void ThrowSystemErrorWithPrefix(const std::string& messagePrefix, int code = kLastError);
// Throw tvl_utils::socket_error with the template of string resource id and the socket error code
// (the current errno's when none is given).
[[noreturn]] void ThrowSocketError(unsigned int id);
[[noreturn]] void ThrowSocketError(unsigned int id, int code);

// Show the template (or string resource id) filled with the exception's message, OK button only;
// return the answer.
int ReportException(unsigned int id, const std::exception& exception);
int ReportException(const std::string& messageTemplate, const std::exception& exception);
// Shows the template filled with the text of the current errno, OK button only; returns the answer.
int ReportSystemError(const std::string& messageTemplate);
// Shows text with style, first re-wrapped to wrapWidth columns when that is not 0 (1 stands for
// 50 columns); returns the answer.
int ShowMessage(const std::string& text, unsigned int style = MessageBoxOk, int wrapWidth = 0);

}  // namespace utils
