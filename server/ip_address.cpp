#include "ip_address.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <algorithm>

namespace torvel {
namespace {

constexpr std::array<std::uint8_t, 12> kMappedIPv4Prefix = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xff, 0xff};

}  // namespace

IpAddress IpAddress::FromBytes(AddressFamily family, const std::uint8_t* bytes)
{
    IpAddress address;
    if (family == AddressFamily::IPv6 && std::equal(kMappedIPv4Prefix.begin(), kMappedIPv4Prefix.end(), bytes)) {
        std::copy_n(bytes + kMappedIPv4Prefix.size(), 4, address.bytes.begin());
        return address;
    }
    address.family = family;
    std::copy_n(bytes, address.Length(), address.bytes.begin());
    return address;
}

std::optional<IpAddress> IpAddress::Parse(const std::string& text)
{
    std::array<std::uint8_t, 16> bytes{};
    if (::inet_pton(AF_INET, text.c_str(), bytes.data()) == 1)
        return FromBytes(AddressFamily::IPv4, bytes.data());
    if (::inet_pton(AF_INET6, text.c_str(), bytes.data()) == 1)
        return FromBytes(AddressFamily::IPv6, bytes.data());
    return std::nullopt;
}

std::string IpAddress::Text() const
{
    std::array<char, INET6_ADDRSTRLEN> text{};
    ::inet_ntop(family == AddressFamily::IPv4 ? AF_INET : AF_INET6, bytes.data(), text.data(), text.size());
    return text.data();
}

std::string ClientAddress::Text() const
{
    std::string text = address.family == AddressFamily::IPv4 ? address.Text() : std::string("[").append(address.Text()).append("]");
    return text.append(":").append(std::to_string(port));
}

std::optional<ClientAddress> ClientAddressOf(const sockaddr& address)
{
    if (address.sa_family == AF_INET) {
        const auto& v4 = reinterpret_cast<const sockaddr_in&>(address);
        return ClientAddress{IpAddress::FromBytes(AddressFamily::IPv4, reinterpret_cast<const std::uint8_t*>(&v4.sin_addr)),
                             ntohs(v4.sin_port)};
    }
    if (address.sa_family == AF_INET6) {
        const auto& v6 = reinterpret_cast<const sockaddr_in6&>(address);
        return ClientAddress{IpAddress::FromBytes(AddressFamily::IPv6, v6.sin6_addr.s6_addr), ntohs(v6.sin6_port)};
    }
    return std::nullopt;
}

}  // namespace torvel
