#pragma once

// The exception of the socket layer, and the socket error codes that carry its texts.

#include <stdexcept>
#include <string>

namespace utils {

// A host name that does not resolve.
inline constexpr int kHostNotFoundError = 11001;

// The socket error code (the numbers of the string table's socket error texts) for a system
// errno value. A value without a socket counterpart is returned negated, so that its own system
// text can still be shown.
int SocketErrorCodeFromErrno(int errorNumber);
// The socket error code for the current errno.
int LastSocketErrorCode();
// The socket error code for a failed host name lookup (a getaddrinfo result).
int SocketErrorCodeFromAddressLookup(int lookupResult, int errorNumber);

}  // namespace utils

namespace tvl_utils {

// Thrown for every failure of the connection to the server. The message is the context template
// filled with the text of the error code; an interrupted call (code 10004) has an empty message.
class socket_error : public std::runtime_error {
public:
    socket_error(const std::string& contextTemplate, int code);

    const char* what() const noexcept override;
    int code() const noexcept { return errorCode; }

private:
    std::runtime_error message;  // copying it never throws
    int errorCode;
};

}  // namespace tvl_utils
