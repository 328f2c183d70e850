#pragma once

#include "ip_address.h"

#include <string>
#include <vector>

namespace torvel {

// One network in CIDR notation: an address and how many of its leading bits must match.
struct AddressRange {
    IpAddress network;  // host bits cleared
    unsigned prefixLength = 0;

    // "ADDRESS/BITS", or a single "ADDRESS"; throws std::invalid_argument naming the text.
    static AddressRange Parse(const std::string& text);

    bool Contains(const IpAddress& address) const;
    std::string Text() const;
};

// The networks whose clients a service serves.
class AllowList {
public:
    // A comma-separated list of ranges; throws std::invalid_argument for a bad or empty one.
    static AllowList Parse(const std::string& text);
    static AllowList Everyone();
    static AllowList Loopback();

    bool Allows(const IpAddress& address) const;
    std::string Text() const;

private:
    std::vector<AddressRange> m_ranges;
};

}  // namespace torvel
