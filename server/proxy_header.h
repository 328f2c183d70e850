#pragma once

#include "ip_address.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace torvel {

// The header a load balancer puts in front of a connection to say whom it accepted it from
// (HAProxy's PROXY protocol, version 1 in text or version 2 in binary).
struct ProxyHeader {
    // Empty for the balancer's own connections (its health checks), which count as coming from
    // the balancer itself.
    std::optional<ClientAddress> client;
};

enum class ProxyParseStatus { Incomplete, Invalid, Complete };

struct ProxyParseResult {
    ProxyParseStatus status = ProxyParseStatus::Incomplete;
    std::size_t length = 0;  // of a complete header
    ProxyHeader header;
    std::string problem;     // why an invalid header is refused
};

// Version 1 headers are one line of at most this many bytes, CR LF included.
inline constexpr std::size_t kMaximumProxyLineLength = 107;
// Version 2 headers may carry extensions after the addresses; longer ones are refused.
inline constexpr std::size_t kMaximumProxyBlockLength = 1024;

// Reads a header at the front of `received`: Incomplete while more bytes could still make it valid.
ProxyParseResult ParseProxyHeader(std::string_view received);

enum class ProxySignature { Absent, Undecided, Present };

// Whether `received` begins with the signature of either version; Undecided while it is a
// shorter beginning of one.
ProxySignature DetectProxySignature(std::string_view received);

}  // namespace torvel
