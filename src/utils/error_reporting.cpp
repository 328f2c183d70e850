#include "utils/error_reporting.h"

#include "utils/message_format.h"
#include "utils/socket_error.h"
#include "utils/string_utils.h"

#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace utils {

namespace {

// Socket error codes; only these have texts of their own in the string table.
constexpr int kFirstSocketErrorCode = 10000;
constexpr int kLastSocketErrorCode = 11999;
constexpr int kDefaultWrapWidth = 50;

int ResolveErrorNumber(int code)
{
    return code == kLastError ? errno : code;
}

}  // namespace

std::string ErrorCodeText(int code)
{
    if (code < 0)
        return SystemErrorText(-code);
    if (code >= kFirstSocketErrorCode && code <= kLastSocketErrorCode) {
        std::string text = LoadResourceString(static_cast<unsigned int>(code));
        if (!text.empty())
            return text;
    }
    return "error #" + ToDecimalText(code);
}

std::string SystemErrorText(int code)
{
    const int errorNumber = ResolveErrorNumber(code);
    if (strerrordesc_np(errorNumber) == nullptr)
        return "unknown error";
    char buffer[256];
    // The GNU variant returns the text, in the user's language, possibly not in buffer.
    return strerror_r(errorNumber, buffer, sizeof buffer);
}

void ThrowResourceError(unsigned int id)
{
    throw std::runtime_error(LoadResourceString(id));
}

void ThrowSystemError(unsigned int id, int code)
{
    const int errorNumber = ResolveErrorNumber(code);
    ThrowSystemError(LoadResourceString(id), errorNumber);
}

void ThrowSystemError(const std::string& messageTemplate, int code)
{
    const int errorNumber = ResolveErrorNumber(code);
    throw std::runtime_error(MessageFormat(messageTemplate) % SystemErrorText(errorNumber));
}

void ThrowSystemErrorWithPrefix(const std::string& messagePrefix, int code)
{
    const int errorNumber = ResolveErrorNumber(code);
    throw std::runtime_error(messagePrefix + SystemErrorText(errorNumber));
}

void ThrowSocketError(unsigned int id)
{
    ThrowSocketError(id, LastSocketErrorCode());
}

void ThrowSocketError(unsigned int id, int code)
{
    throw tvl_utils::socket_error(LoadResourceString(id), code);
}

int ReportException(unsigned int id, const std::exception& exception)
{
    return ReportException(LoadResourceString(id), exception);
}

int ReportException(const std::string& messageTemplate, const std::exception& exception)
{
    return ShowMessageBox(MessageFormat(messageTemplate) % exception.what(), MessageBoxOk);
}

int ReportSystemError(const std::string& messageTemplate)
{
    const std::string errorText = SystemErrorText(kLastError);
    return ShowMessageBox(MessageFormat(messageTemplate) % errorText, MessageBoxOk);
}

int ShowMessage(const std::string& text, unsigned int style, int wrapWidth)
{
    if (wrapWidth == 0)
        return ShowMessageBox(text, style);
    const int width = wrapWidth == 1 ? kDefaultWrapWidth : wrapWidth;
    return ShowMessageBox(Wrap(text, width), style);
}

}  // namespace utils
