#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

struct sockaddr;

namespace torvel {

enum class AddressFamily { IPv4, IPv6 };

// An IPv4 or IPv6 address. An IPv4 address seen through an IPv6 socket (::ffff:a.b.c.d) is kept as
// the IPv4 address it is, so allow-lists and fair shares treat both views of one client alike.
struct IpAddress {
    AddressFamily family = AddressFamily::IPv4;
    std::array<std::uint8_t, 16> bytes{};  // the first 4 for IPv4

    static std::optional<IpAddress> Parse(const std::string& text);
    static IpAddress FromBytes(AddressFamily family, const std::uint8_t* bytes);

    std::size_t Length() const { return family == AddressFamily::IPv4 ? 4 : 16; }
    std::string Text() const;
    bool operator==(const IpAddress&) const = default;
};

// Where a client connects from: its address and port.
struct ClientAddress {
    IpAddress address;
    std::uint16_t port = 0;

    // "1.2.3.4:5" or "[::1]:5".
    std::string Text() const;
};

// The address of an AF_INET or AF_INET6 socket address; empty for other families.
std::optional<ClientAddress> ClientAddressOf(const sockaddr& address);

}  // namespace torvel
