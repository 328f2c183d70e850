#include "allow_list.h"

#include <algorithm>
#include <charconv>
#include <stdexcept>

namespace torvel {
namespace {

constexpr unsigned kMappedIPv4PrefixBits = 96;

unsigned ParsePrefixLength(const std::string& text, const std::string& range)
{
    unsigned value = 0;
    const char* end = text.data() + text.size();
    const auto [position, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || position != end)
        throw std::invalid_argument("bad prefix length in address range \"" + range + "\"");
    return value;
}

// Whether the first `bits` bits of two addresses of one family agree.
bool LeadingBitsMatch(const IpAddress& first, const IpAddress& second, unsigned bits)
{
    for (std::size_t index = 0; bits > 0; ++index) {
        const unsigned here = std::min(bits, 8u);
        const auto mask = static_cast<std::uint8_t>(0xff00u >> here);
        if ((first.bytes[index] & mask) != (second.bytes[index] & mask))
            return false;
        bits -= here;
    }
    return true;
}

IpAddress ClearHostBits(IpAddress address, unsigned prefixLength)
{
    for (std::size_t index = 0; index < address.Length(); ++index) {
        const unsigned kept = prefixLength > index * 8 ? std::min(prefixLength - static_cast<unsigned>(index * 8), 8u) : 0;
        address.bytes[index] &= static_cast<std::uint8_t>(0xff00u >> kept);
    }
    return address;
}

}  // namespace

AddressRange AddressRange::Parse(const std::string& text)
{
    const auto slash = text.find('/');
    const std::string addressText = text.substr(0, slash);
    const auto address = IpAddress::Parse(addressText);
    if (!address)
        throw std::invalid_argument("\"" + text + "\" is not an IPv4 or IPv6 address range");
    const bool writtenAsIPv6 = addressText.find(':') != std::string::npos;
    unsigned prefixLength = static_cast<unsigned>(address->Length() * 8);
    if (slash != std::string::npos) {
        prefixLength = ParsePrefixLength(text.substr(slash + 1), text);
        // ::ffff:a.b.c.d/N names IPv4 addresses, which are kept as IPv4.
        if (writtenAsIPv6 && address->family == AddressFamily::IPv4) {
            if (prefixLength < kMappedIPv4PrefixBits)
                throw std::invalid_argument("address range \"" + text + "\" mixes IPv4 and IPv6 addresses");
            prefixLength -= kMappedIPv4PrefixBits;
        }
    }
    if (prefixLength > address->Length() * 8)
        throw std::invalid_argument("prefix length of \"" + text + "\" is longer than the address");
    return {ClearHostBits(*address, prefixLength), prefixLength};
}

bool AddressRange::Contains(const IpAddress& address) const
{
    return address.family == network.family && LeadingBitsMatch(address, network, prefixLength);
}

std::string AddressRange::Text() const
{
    return network.Text() + "/" + std::to_string(prefixLength);
}

AllowList AllowList::Parse(const std::string& text)
{
    AllowList list;
    std::size_t start = 0;
    for (;;) {
        const auto comma = text.find(',', start);
        const std::string item = text.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        if (item.empty())
            throw std::invalid_argument("empty address range in \"" + text + "\"");
        list.m_ranges.push_back(AddressRange::Parse(item));
        if (comma == std::string::npos)
            return list;
        start = comma + 1;
    }
}

AllowList AllowList::Everyone()
{
    return Parse("0.0.0.0/0,::/0");
}

AllowList AllowList::Loopback()
{
    return Parse("127.0.0.0/8,::1/128");
}

bool AllowList::Allows(const IpAddress& address) const
{
    for (const auto& range : m_ranges) {
        if (range.Contains(address))
            return true;
    }
    return false;
}

std::string AllowList::Text() const
{
    std::string text;
    for (const auto& range : m_ranges)
        text.append(text.empty() ? "" : ",").append(range.Text());
    return text;
}

}  // namespace torvel
