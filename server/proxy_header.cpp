#include "proxy_header.h"

#include <charconv>
#include <vector>

namespace torvel {
namespace {

constexpr std::string_view kTextSignature = "PROXY ";
constexpr std::string_view kBinarySignature("\r\n\r\n\0\r\nQUIT\n", 12);
constexpr std::size_t kBinaryFixedLength = 16;

enum class BinaryCommand : std::uint8_t { Local = 0, Proxy = 1 };
enum class BinaryFamily : std::uint8_t { TcpOverIPv4 = 0x11, TcpOverIPv6 = 0x21 };

ProxyParseResult Invalid(const std::string& problem)
{
    return {ProxyParseStatus::Invalid, 0, {}, problem};
}

ProxyParseResult Complete(std::size_t length, std::optional<ClientAddress> client)
{
    return {ProxyParseStatus::Complete, length, {client}, {}};
}

bool BeginsWith(std::string_view received, std::string_view signature)
{
    return received.substr(0, signature.size()) == signature.substr(0, received.size());
}

std::vector<std::string_view> SplitAtBlanks(std::string_view line)
{
    std::vector<std::string_view> fields;
    for (std::size_t start = 0;;) {
        const auto blank = line.find(' ', start);
        fields.push_back(line.substr(start, blank == std::string_view::npos ? std::string_view::npos : blank - start));
        if (blank == std::string_view::npos)
            return fields;
        start = blank + 1;
    }
}

std::optional<std::uint16_t> ParsePort(std::string_view text)
{
    unsigned value = 0;
    const auto [position, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || position != text.data() + text.size() || value > 65535)
        return std::nullopt;
    return static_cast<std::uint16_t>(value);
}

// "PROXY TCP4 SOURCE DESTINATION SOURCE-PORT DESTINATION-PORT\r\n", or "PROXY UNKNOWN ...\r\n".
ProxyParseResult ParseTextHeader(std::string_view received)
{
    const auto lineFeed = received.substr(0, kMaximumProxyLineLength).find('\n');
    if (lineFeed == std::string_view::npos) {
        if (received.size() >= kMaximumProxyLineLength)
            return Invalid("PROXY protocol header longer than " + std::to_string(kMaximumProxyLineLength) + " bytes");
        return {};
    }
    if (lineFeed == 0 || received[lineFeed - 1] != '\r')
        return Invalid("PROXY protocol header does not end with CR LF");
    const std::string_view line = received.substr(0, lineFeed - 1);
    const std::vector<std::string_view> fields = SplitAtBlanks(line);
    if (fields[1] == "UNKNOWN")
        return Complete(lineFeed + 1, std::nullopt);
    if ((fields[1] != "TCP4" && fields[1] != "TCP6") || fields.size() != 6)
        return Invalid("malformed PROXY protocol header \"" + std::string(line) + "\"");
    const auto source = IpAddress::Parse(std::string(fields[2]));
    const auto destination = IpAddress::Parse(std::string(fields[3]));
    const auto sourcePort = ParsePort(fields[4]);
    const bool wantsIPv6 = fields[1] == "TCP6";
    const bool rightFamily = source && destination && (fields[2].find(':') != std::string_view::npos) == wantsIPv6 &&
                             (fields[3].find(':') != std::string_view::npos) == wantsIPv6;
    if (!rightFamily || !sourcePort || !ParsePort(fields[5]))
        return Invalid("malformed PROXY protocol header \"" + std::string(line) + "\"");
    return Complete(lineFeed + 1, ClientAddress{*source, *sourcePort});
}

std::uint16_t BigEndian16(std::string_view bytes, std::size_t offset)
{
    return static_cast<std::uint16_t>(static_cast<std::uint8_t>(bytes[offset]) << 8 | static_cast<std::uint8_t>(bytes[offset + 1]));
}

// The signature, version and command, address family, block length, then the block: source and
// destination address, source and destination port, and optional extensions.
ProxyParseResult ParseBinaryHeader(std::string_view received)
{
    if (received.size() < kBinaryFixedLength)
        return {};
    const auto versionAndCommand = static_cast<std::uint8_t>(received[12]);
    const auto family = static_cast<std::uint8_t>(received[13]);
    const std::size_t blockLength = BigEndian16(received, 14);
    if (versionAndCommand >> 4 != 2)
        return Invalid("PROXY protocol version " + std::to_string(versionAndCommand >> 4) + " is not supported");
    const auto command = static_cast<BinaryCommand>(versionAndCommand & 0x0f);
    if (command != BinaryCommand::Local && command != BinaryCommand::Proxy)
        return Invalid("unknown PROXY protocol command " + std::to_string(versionAndCommand & 0x0f));
    if (blockLength > kMaximumProxyBlockLength)
        return Invalid("PROXY protocol header of " + std::to_string(kBinaryFixedLength + blockLength) +
                       " bytes is longer than this server takes (" +
                       std::to_string(kBinaryFixedLength + kMaximumProxyBlockLength) + ")");
    const std::size_t length = kBinaryFixedLength + blockLength;
    if (received.size() < length)
        return {};
    if (command == BinaryCommand::Local)
        return Complete(length, std::nullopt);
    const bool ipv4 = family == static_cast<std::uint8_t>(BinaryFamily::TcpOverIPv4);
    if (!ipv4 && family != static_cast<std::uint8_t>(BinaryFamily::TcpOverIPv6))
        return Invalid("PROXY protocol header for a connection other than TCP over IPv4 or IPv6");
    const std::size_t addressLength = ipv4 ? 4 : 16;
    if (blockLength < 2 * addressLength + 4)
        return Invalid("PROXY protocol address block too short");
    const auto* block = reinterpret_cast<const std::uint8_t*>(received.data() + kBinaryFixedLength);
    const IpAddress source = IpAddress::FromBytes(ipv4 ? AddressFamily::IPv4 : AddressFamily::IPv6, block);
    return Complete(length, ClientAddress{source, BigEndian16(received, kBinaryFixedLength + 2 * addressLength)});
}

}  // namespace

ProxySignature DetectProxySignature(std::string_view received)
{
    for (const std::string_view signature : {kTextSignature, kBinarySignature}) {
        if (BeginsWith(received, signature))
            return received.size() >= signature.size() ? ProxySignature::Present : ProxySignature::Undecided;
    }
    return ProxySignature::Absent;
}

ProxyParseResult ParseProxyHeader(std::string_view received)
{
    switch (DetectProxySignature(received)) {
    case ProxySignature::Absent: return Invalid("expected a PROXY protocol header");
    case ProxySignature::Undecided: return {};
    case ProxySignature::Present: break;
    }
    return received.starts_with(kTextSignature) ? ParseTextHeader(received) : ParseBinaryHeader(received);
}

}  // namespace torvel
