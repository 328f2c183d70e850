#include "utils/socket_error.h"

#include "utils/error_reporting.h"
#include "utils/message_format.h"

#include <cerrno>
#include <netdb.h>

namespace utils {

namespace {

struct ErrnoMapping {
    int errorNumber;
    int socketCode;
};

constexpr int kInterruptedCall = 10004;
constexpr int kNoBufferSpace = 10055;

// The system errors a socket call can report, with the code whose text describes them.
constexpr ErrnoMapping kErrnoMappings[] = {
    {EINTR, 10004},           {EACCES, 10013},          {EPERM, 10013},
    {EFAULT, 10014},          {EINVAL, 10022},          {EMFILE, 10024},
    {EAGAIN, 10035},          {EINPROGRESS, 10036},     {EALREADY, 10037},
    {ENOTSOCK, 10038},        {EDESTADDRREQ, 10039},    {EMSGSIZE, 10040},
    {EPROTOTYPE, 10041},      {ENOPROTOOPT, 10042},     {EPROTONOSUPPORT, 10043},
    {ESOCKTNOSUPPORT, 10044}, {EOPNOTSUPP, 10045},      {EPFNOSUPPORT, 10046},
    {EAFNOSUPPORT, 10047},    {EADDRINUSE, 10048},      {EADDRNOTAVAIL, 10049},
    {ENETDOWN, 10050},        {ENETUNREACH, 10051},     {ENETRESET, 10052},
    {ECONNABORTED, 10053},    {ECONNRESET, 10054},      {EPIPE, 10054},
    {ENOBUFS, kNoBufferSpace}, {EISCONN, 10056},        {ENOTCONN, 10057},
    {ESHUTDOWN, 10058},       {ETIMEDOUT, 10060},       {ECONNREFUSED, 10061},
    {EHOSTDOWN, 10064},       {EHOSTUNREACH, 10065},
};

}  // namespace

int SocketErrorCodeFromErrno(int errorNumber)
{
    for (const ErrnoMapping& mapping : kErrnoMappings) {
        if (mapping.errorNumber == errorNumber)
            return mapping.socketCode;
    }
    return -errorNumber;
}

int LastSocketErrorCode()
{
    return SocketErrorCodeFromErrno(errno);
}

int SocketErrorCodeFromAddressLookup(int lookupResult, int errorNumber)
{
    if (lookupResult == EAI_SYSTEM)
        return SocketErrorCodeFromErrno(errorNumber);
    if (lookupResult == EAI_MEMORY)
        return kNoBufferSpace;
    return kHostNotFoundError;
}

}  // namespace utils

namespace tvl_utils {

namespace {

std::string SocketErrorMessage(const std::string& contextTemplate, int code)
{
    // An interrupted call is the user's own cancellation: nothing to explain.
    if (code == utils::kInterruptedCall)
        return {};
    return utils::MessageFormat(contextTemplate) % utils::ErrorCodeText(code);
}

}  // namespace

socket_error::socket_error(const std::string& contextTemplate, int code)
    : std::runtime_error(std::string())
    , message(SocketErrorMessage(contextTemplate, code))
    , errorCode(code)
{
}

const char* socket_error::what() const noexcept
{
    return message.what();
}

}  // namespace tvl_utils
