#include "proxy_header.h"
#include "proxy_header_bytes.h"

#include <gtest/gtest.h>

namespace torvel {
namespace {

using torvel_test::AddressBlock;
using torvel_test::BinaryProxyHeader;
using torvel_test::TextProxyHeader;

struct HeaderCase {
    std::string name;
    std::string bytes;
    ProxyParseStatus status;
    std::string client;  // Text() of the carried client, "-" for none
    std::size_t length = 0;
};

TEST(ProxyHeader, ReadsBothVersions)
{
    const std::string v2ipv4 = BinaryProxyHeader(torvel_test::kProxyCommand, torvel_test::kTcpOverIPv4,
                                                 AddressBlock({198, 51, 100, 7}, {127, 0, 0, 1}, 51000));
    const std::string v2ipv6 = BinaryProxyHeader(torvel_test::kProxyCommand, torvel_test::kTcpOverIPv6,
                                                 AddressBlock(torvel_test::IPv6Loopback(), torvel_test::IPv6Loopback(), 443));
    const std::string v2extensions = BinaryProxyHeader(torvel_test::kProxyCommand, torvel_test::kTcpOverIPv4,
                                                       AddressBlock({127, 0, 0, 3}, {127, 0, 0, 1}) + std::string("\x04\x00\x02xy", 5));
    const std::string v2local = BinaryProxyHeader(torvel_test::kLocalCommand, 0x00, "");
    const HeaderCase cases[] = {
        {"v1 IPv4", TextProxyHeader("TCP4", "198.51.100.7", "127.0.0.1", 51000) + "client Quillwright\n",
         ProxyParseStatus::Complete, "198.51.100.7:51000", 46},
        {"v1 IPv6", TextProxyHeader("TCP6", "2001:db8::7", "::1", 1), ProxyParseStatus::Complete, "[2001:db8::7]:1", 35},
        {"v1 unknown", "PROXY UNKNOWN ffff::1 ::1 1 2\r\nrest", ProxyParseStatus::Complete, "-", 31},
        {"v2 IPv4", v2ipv4 + "client", ProxyParseStatus::Complete, "198.51.100.7:51000", 28},
        {"v2 IPv6", v2ipv6, ProxyParseStatus::Complete, "[::1]:443", 52},
        {"v2 with extensions", v2extensions, ProxyParseStatus::Complete, "127.0.0.3:40000", 33},
        {"v2 local", v2local, ProxyParseStatus::Complete, "-", 16},
        {"nothing yet", "", ProxyParseStatus::Incomplete, "-"},
        {"v1 signature so far", "PROX", ProxyParseStatus::Incomplete, "-"},
        {"v1 without its line end", "PROXY TCP4 127.0.0.1 127.0.0.1 1 2", ProxyParseStatus::Incomplete, "-"},
        {"v2 signature so far", std::string("\r\n\r\n\0\r", 6), ProxyParseStatus::Incomplete, "-"},
        {"v2 block so far", v2ipv4.substr(0, 20), ProxyParseStatus::Incomplete, "-"},
    };
    for (const auto& [name, bytes, status, client, length] : cases) {
        const ProxyParseResult result = ParseProxyHeader(bytes);
        EXPECT_EQ(result.status, status) << name << ": " << result.problem;
        EXPECT_EQ(result.header.client ? result.header.client->Text() : "-", client) << name;
        if (status == ProxyParseStatus::Complete) {
            EXPECT_EQ(result.length, length) << name;
        }
    }
}

TEST(ProxyHeader, RefusesMalformedAndOversizedHeaders)
{
    const std::string ipv4Block = AddressBlock({127, 0, 0, 1}, {127, 0, 0, 1});
    struct RefusedHeader {
        std::string name;
        std::string bytes;
        std::string problem;
    };
    const RefusedHeader cases[] = {
        {"no header", "client Quillwright\n", "expected a PROXY protocol header"},
        {"v1 too long", "PROXY TCP4 " + std::string(120, '1'),
         "PROXY protocol header longer than 107 bytes"},
        {"v1 bare line feed", "PROXY UNKNOWN\n", "PROXY protocol header does not end with CR LF"},
        {"v1 missing port", "PROXY TCP4 127.0.0.1 127.0.0.1 1\r\n",
         "malformed PROXY protocol header \"PROXY TCP4 127.0.0.1 127.0.0.1 1\""},
        {"v1 wrong family", TextProxyHeader("TCP4", "::1", "::1"),
         "malformed PROXY protocol header \"PROXY TCP4 ::1 ::1 40000 8000\""},
        {"v1 port too large", TextProxyHeader("TCP4", "127.0.0.1", "127.0.0.1", 70000),
         "malformed PROXY protocol header \"PROXY TCP4 127.0.0.1 127.0.0.1 70000 8000\""},
        {"v1 not an address", TextProxyHeader("TCP4", "127.0.0.256", "127.0.0.1"),
         "malformed PROXY protocol header \"PROXY TCP4 127.0.0.256 127.0.0.1 40000 8000\""},
        {"v1 UDP", TextProxyHeader("UDP4", "127.0.0.1", "127.0.0.1"),
         "malformed PROXY protocol header \"PROXY UDP4 127.0.0.1 127.0.0.1 40000 8000\""},
        {"v2 too long", BinaryProxyHeader(torvel_test::kProxyCommand, torvel_test::kTcpOverIPv4, ipv4Block, 2000),
         "PROXY protocol header of 2016 bytes is longer than this server takes (1040)"},
        {"v2 version 3", BinaryProxyHeader(0x31, torvel_test::kTcpOverIPv4, ipv4Block),
         "PROXY protocol version 3 is not supported"},
        {"v2 command 2", BinaryProxyHeader(0x22, torvel_test::kTcpOverIPv4, ipv4Block),
         "unknown PROXY protocol command 2"},
        {"v2 UDP", BinaryProxyHeader(torvel_test::kProxyCommand, 0x12, ipv4Block),
         "PROXY protocol header for a connection other than TCP over IPv4 or IPv6"},
        {"v2 short block", BinaryProxyHeader(torvel_test::kProxyCommand, torvel_test::kTcpOverIPv6, ipv4Block),
         "PROXY protocol address block too short"},
    };
    for (const auto& [name, bytes, problem] : cases) {
        const ProxyParseResult result = ParseProxyHeader(bytes);
        EXPECT_EQ(result.status, ProxyParseStatus::Invalid) << name;
        EXPECT_EQ(result.problem, problem) << name;
    }
}

TEST(ProxyHeader, TellsASignatureFromADialogue)
{
    EXPECT_EQ(DetectProxySignature("client Quillwright\n"), ProxySignature::Absent);
    EXPECT_EQ(DetectProxySignature("documentation client\n"), ProxySignature::Absent);
    EXPECT_EQ(DetectProxySignature("PROX"), ProxySignature::Undecided);
    EXPECT_EQ(DetectProxySignature("PROXY "), ProxySignature::Present);
    EXPECT_EQ(DetectProxySignature(std::string("\r\n\r\n\0\r\nQU", 9)), ProxySignature::Undecided);
    EXPECT_EQ(DetectProxySignature(std::string("\r\n\r\n\0\r\nQUIT\n!", 13)), ProxySignature::Present);
    EXPECT_EQ(DetectProxySignature("\r\n\r\nx"), ProxySignature::Absent);
}

}  // namespace
}  // namespace torvel
