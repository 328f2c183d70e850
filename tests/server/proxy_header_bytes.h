#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace torvel_test {

// PROXY protocol headers as a load balancer sends them, for tests.

// Version 1: "PROXY FAMILY SOURCE DESTINATION SOURCE-PORT DESTINATION-PORT\r\n".
inline std::string TextProxyHeader(const std::string& family, const std::string& source, const std::string& destination,
                                   int sourcePort = 40000, int destinationPort = 8000)
{
    return "PROXY " + family + " " + source + " " + destination + " " + std::to_string(sourcePort) + " " +
           std::to_string(destinationPort) + "\r\n";
}

inline constexpr std::uint8_t kProxyCommand = 0x21;  // version 2, PROXY
inline constexpr std::uint8_t kLocalCommand = 0x20;  // version 2, LOCAL
inline constexpr std::uint8_t kTcpOverIPv4 = 0x11;
inline constexpr std::uint8_t kTcpOverIPv6 = 0x21;

// Version 2: signature, version and command, family, block length, block.
inline std::string BinaryProxyHeader(std::uint8_t versionAndCommand, std::uint8_t family, const std::string& block,
                                     std::size_t declaredLength)
{
    std::string header("\r\n\r\n\0\r\nQUIT\n", 12);
    header += static_cast<char>(versionAndCommand);
    header += static_cast<char>(family);
    header += static_cast<char>(declaredLength >> 8);
    header += static_cast<char>(declaredLength & 0xff);
    return header + block;
}

inline std::string BinaryProxyHeader(std::uint8_t versionAndCommand, std::uint8_t family, const std::string& block)
{
    return BinaryProxyHeader(versionAndCommand, family, block, block.size());
}

// The address block: source and destination address, source and destination port.
inline std::string AddressBlock(const std::vector<std::uint8_t>& source, const std::vector<std::uint8_t>& destination,
                                int sourcePort = 40000, int destinationPort = 8000)
{
    std::string block(source.begin(), source.end());
    block.append(destination.begin(), destination.end());
    for (const int port : {sourcePort, destinationPort}) {
        block += static_cast<char>(port >> 8);
        block += static_cast<char>(port & 0xff);
    }
    return block;
}

inline std::vector<std::uint8_t> IPv6Loopback()
{
    std::vector<std::uint8_t> bytes(16, 0);
    bytes.back() = 1;
    return bytes;
}

}  // namespace torvel_test
