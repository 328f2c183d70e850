#include "allow_list.h"

#include <gtest/gtest.h>

namespace torvel {
namespace {

struct RangeCase {
    std::string list;
    std::string address;
    bool allowed;
};

TEST(AllowList, MatchesAddressesByTheirLeadingBits)
{
    const RangeCase cases[] = {
        {"127.0.0.1/32", "127.0.0.1", true},
        {"127.0.0.1/32", "127.0.0.2", false},
        {"127.0.0.1", "127.0.0.1", true},  // a single address
        {"127.0.0.0/8", "127.255.3.4", true},
        {"127.0.0.0/8", "128.0.0.1", false},
        {"198.51.100.0/23", "198.51.101.200", true},  // prefix inside a byte
        {"198.51.100.0/23", "198.51.102.1", false},
        {"198.51.100.77/24", "198.51.100.1", true},  // host bits of the network are ignored
        {"0.0.0.0/0", "203.0.113.9", true},
        {"0.0.0.0/0", "::1", false},  // IPv4 ranges do not match IPv6 clients
        {"::1/128", "::1", true},
        {"::1/128", "::2", false},
        {"2001:db8::/32", "2001:db8:ffff::1", true},
        {"2001:db8::/33", "2001:db8:8000::1", false},
        {"::/0", "127.0.0.1", false},
        {"127.0.0.0/8", "::ffff:127.0.0.5", true},  // an IPv4 client seen through an IPv6 socket
        {"::ffff:127.0.0.0/104", "127.0.0.9", true},
        {"10.0.0.0/8,::1/128", "::1", true},
        {"10.0.0.0/8,::1/128", "127.0.0.1", false},
    };
    for (const auto& [list, address, allowed] : cases)
        EXPECT_EQ(AllowList::Parse(list).Allows(*IpAddress::Parse(address)), allowed) << list << " " << address;
}

TEST(AllowList, DefaultsServeEveryoneOrLoopbackOnly)
{
    for (const std::string address : {"127.0.0.1", "127.0.0.2", "::1", "203.0.113.9", "2001:db8::1"})
        EXPECT_TRUE(AllowList::Everyone().Allows(*IpAddress::Parse(address))) << address;
    for (const std::string address : {"127.0.0.1", "127.9.9.9", "::1", "::ffff:127.0.0.1"})
        EXPECT_TRUE(AllowList::Loopback().Allows(*IpAddress::Parse(address))) << address;
    for (const std::string address : {"203.0.113.9", "::2", "2001:db8::1", "0.0.0.0"})
        EXPECT_FALSE(AllowList::Loopback().Allows(*IpAddress::Parse(address))) << address;
    EXPECT_EQ(AllowList::Loopback().Text(), "127.0.0.0/8,::1/128");
    EXPECT_EQ(AllowList::Parse("198.51.100.77/24,2001:db8::1").Text(), "198.51.100.0/24,2001:db8::1/128");
}

TEST(AllowList, RefusesMalformedRanges)
{
    for (const std::string list : {"", "10.0.0.0/33", "::/129", "10.0.0/8", "10.0.0.0/", "10.0.0.0/x", "10.0.0.0/8,",
                                   ",::1", "localhost", "::ffff:10.0.0.0/64", "10.0.0.0/-1"}) {
        EXPECT_THROW(AllowList::Parse(list), std::invalid_argument) << list;
    }
}

}  // namespace
}  // namespace torvel
