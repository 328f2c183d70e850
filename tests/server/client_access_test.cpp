// Who may use a real server: allow-lists on both ports, judged by the connection's address or by the
// one a PROXY protocol header carries. Everything runs on the loopback range, whose many addresses
// stand for clients on different networks.
#include "proxy_header_bytes.h"
#include "raw_client.h"
#include "server_process.h"

#include <gtest/gtest.h>

#include <fstream>

namespace torvel_test {
namespace {

const std::string kPage = "<p>kept page</p>\n";
const std::string kFetch = "client Quillwright\nservice maintenance\nrun cp /var/www/html/page.html ./file\nget file:dos\ncommit\n";

enum class Port { Documentation, Maintenance };

int PortOf(const ServerProcess& server, Port port)
{
    return port == Port::Documentation ? server.DocumentationPort() : server.MaintenancePort();
}

// After the greeting a served client gets what it asks for: the page, or for the documentation
// port a refusal of a service no server offers, which shows the dialogue went on.
void ExpectServed(RawClient& client, Port port, const std::string& what)
{
    if (port == Port::Documentation) {
        client.Send("documentation client\nservice pdflatex2ps\nrun pdflatex2ps a.tex\ncommit\n");
        EXPECT_EQ(client.ReadLine(), "abort service pdflatex2ps is not offered by this server; use tex2ps or tex2pdf") << what;
        return;
    }
    client.Send(kFetch);
    EXPECT_EQ(client.ReadLine(), "commit") << what;
    EXPECT_EQ(client.ReadLine(), "file file:" + std::to_string(kPage.size())) << what;
    EXPECT_EQ(client.ReadLine(), "commit") << what;
    EXPECT_EQ(client.ReadBytes(kPage.size()), kPage) << what;
}

struct Visit {
    Port port;
    Endpoints endpoints;
    std::string firstLine;  // "TORVEL" for a served client
};

struct AccessCase {
    std::string name;
    std::vector<std::string> options;
    std::vector<Visit> visits;
};

const std::string kServed = "TORVEL";

std::string NotAllowed(const std::string& address)
{
    return "abort client address " + address + " is not allowed on this port";
}

TEST(ClientAccess, ServesOnlyTheAllowedAddresses)
{
    const AccessCase cases[] = {
        {"maintenance allow-list", {"--maintenance-allow", "127.0.0.1/32"},
         {{Port::Maintenance, {.source = "127.0.0.2"}, NotAllowed("127.0.0.2")},
          {Port::Maintenance, {.source = "127.0.0.1"}, kServed},
          {Port::Documentation, {.source = "127.0.0.2"}, kServed}}},
        {"documentation allow-list", {"--allow", "127.0.0.1/32"},
         {{Port::Documentation, {.source = "127.0.0.2"}, NotAllowed("127.0.0.2")},
          {Port::Documentation, {.source = "127.0.0.1"}, kServed},
          {Port::Maintenance, {.source = "127.0.0.2"}, kServed}}},
        {"defaults: documentation open, maintenance loopback", {},
         {{Port::Documentation, {.source = "127.0.0.3"}, kServed}, {Port::Maintenance, {.source = "127.0.0.3"}, kServed}}},
        {"IPv6", {"--bind", "::1", "--maintenance-allow", "::1/128", "--allow", "127.0.0.0/8"},
         {{Port::Maintenance, {.server = "::1", .source = {}}, kServed}, {Port::Documentation, {.server = "::1", .source = {}}, NotAllowed("::1")}}},
        {"IPv4 clients of an IPv6 socket", {"--bind", "::", "--maintenance-allow", "127.0.0.1/32"},
         {{Port::Maintenance, {.source = "127.0.0.2"}, NotAllowed("127.0.0.2")},
          {Port::Maintenance, {.source = "127.0.0.1"}, kServed}}},
    };
    for (const auto& [name, options, visits] : cases) {
        ServerProcess server(options);
        std::ofstream(server.WebRoot() / "page.html") << kPage;
        for (const auto& [port, endpoints, firstLine] : visits) {
            const std::string what = name + " from " + (endpoints.source.empty() ? endpoints.server : endpoints.source);
            RawClient client(PortOf(server, port), endpoints);
            const std::string line = client.ReadLine();
            if (firstLine != kServed) {
                EXPECT_EQ(line, firstLine) << what;
                EXPECT_EQ(client.ReadLine(), "") << what;  // and nothing more
                continue;
            }
            ASSERT_TRUE(line.starts_with("TORVEL server ")) << what << ": " << line;
            ExpectServed(client, port, what);
        }
        if (name == "maintenance allow-list") {
            EXPECT_TRUE(server.LogShows("job client=127.0.0.2:"));
            EXPECT_TRUE(server.LogShows("result=refused: client address 127.0.0.2 is not allowed on this port"));
        }
    }
}

// A load balancer at 127.0.0.2 (not allowed itself) speaks for the clients it accepted.
struct ProxyCase {
    std::string name;
    std::string source;  // the balancer's address
    std::string header;
    std::string firstLine;
};

std::string HeaderV2(std::uint8_t family, const std::string& block)
{
    return BinaryProxyHeader(kProxyCommand, family, block);
}

TEST(ClientAccess, JudgesTheAddressAProxyHeaderCarries)
{
    ServerProcess server({"--proxy-protocol", "--maintenance-allow", "127.0.0.1/32", "--idle-timeout", "2"});
    std::ofstream(server.WebRoot() / "page.html") << kPage;
    const std::string ipv4Block = AddressBlock({127, 0, 0, 1}, {127, 0, 0, 1});
    const ProxyCase cases[] = {
        {"v1 allowed client", "127.0.0.2", TextProxyHeader("TCP4", "127.0.0.1", "127.0.0.1", 41001), kServed},
        {"v1 refused client", "127.0.0.1", TextProxyHeader("TCP4", "127.0.0.2", "127.0.0.1"), NotAllowed("127.0.0.2")},
        {"v1 IPv6 client", "127.0.0.1", TextProxyHeader("TCP6", "::1", "::1"), NotAllowed("::1")},
        {"v2 allowed client", "127.0.0.2", HeaderV2(kTcpOverIPv4, AddressBlock({127, 0, 0, 1}, {127, 0, 0, 1}, 41002)), kServed},
        {"v2 refused client", "127.0.0.1", HeaderV2(kTcpOverIPv4, AddressBlock({127, 0, 0, 9}, {127, 0, 0, 1})),
         NotAllowed("127.0.0.9")},
        {"v2 IPv6 client", "127.0.0.1", HeaderV2(kTcpOverIPv6, AddressBlock(IPv6Loopback(), IPv6Loopback())), NotAllowed("::1")},
        // The balancer's own health checks are judged by its address.
        {"v2 local from an allowed balancer", "127.0.0.1", BinaryProxyHeader(kLocalCommand, 0, ""), kServed},
        {"v1 unknown from a refused balancer", "127.0.0.2", "PROXY UNKNOWN\r\n", NotAllowed("127.0.0.2")},
        {"no header", "127.0.0.1", "client Quillwright\n", "abort expected a PROXY protocol header"},
        {"v1 oversized", "127.0.0.1", "PROXY TCP4 " + std::string(200, '1') + "\r\n",
         "abort PROXY protocol header longer than 107 bytes"},
        {"v2 oversized", "127.0.0.1", HeaderV2(kTcpOverIPv4, ipv4Block + std::string(1100, 'x')),
         "abort PROXY protocol header of 1128 bytes is longer than this server takes (1040)"},
        {"v1 truncated", "127.0.0.1", "PROXY TCP4 127.0.0.1 127.0.0",
         "abort PROXY protocol header cut short: client closed the connection early"},
        {"v2 truncated", "127.0.0.1", HeaderV2(kTcpOverIPv4, ipv4Block).substr(0, 20),
         "abort PROXY protocol header cut short: client closed the connection early"},
    };
    for (const auto& [name, source, header, firstLine] : cases) {
        RawClient client(server.MaintenancePort(), {.source = source});
        client.Send(header);
        if (firstLine != kServed) {
            client.FinishSending();
            EXPECT_EQ(client.ReadLine(), firstLine) << name;
            EXPECT_EQ(client.ReadLine(), "") << name;
            continue;
        }
        ASSERT_TRUE(client.ReadLine().starts_with("TORVEL server ")) << name;
        ExpectServed(client, Port::Maintenance, name);
    }
    // The log names the client and the balancer it came through.
    EXPECT_TRUE(server.LogShows("job client=127.0.0.1:41001 proxy=127.0.0.2:")) << server.Log();
    EXPECT_TRUE(server.LogShows("job client=127.0.0.1:41002 proxy=127.0.0.2:"));
    EXPECT_TRUE(server.LogShows("result=refused: client address 127.0.0.9 is not allowed on this port"));
    // A health check that leaves after the greeting asked for nothing.
    {
        RawClient check(server.MaintenancePort());
        check.Send(BinaryProxyHeader(kLocalCommand, 0, ""));
        EXPECT_TRUE(check.ReadLine().starts_with("TORVEL server "));
    }
    EXPECT_TRUE(server.LogShows("service=- files=0 bytes=0 seconds=")) << server.Log();
    EXPECT_TRUE(server.LogShows("result=no-request"));
    // A balancer that keeps the header to itself is not waited for beyond the idle timeout.
    RawClient silent(server.MaintenancePort());
    EXPECT_EQ(silent.ReadLine(), "abort PROXY protocol header cut short: client idle for more than 2 seconds");
}

TEST(ClientAccess, RefusesAProxyHeaderItDoesNotExpect)
{
    ServerProcess server({"--maintenance-allow", "127.0.0.1/32"});
    std::ofstream(server.WebRoot() / "page.html") << kPage;
    const std::string forged[] = {
        TextProxyHeader("TCP4", "127.0.0.1", "127.0.0.1") + kFetch,
        HeaderV2(kTcpOverIPv4, AddressBlock({127, 0, 0, 1}, {127, 0, 0, 1})) + kFetch,
    };
    for (const std::string& bytes : forged) {
        for (const Port port : {Port::Maintenance, Port::Documentation}) {
            RawClient client(PortOf(server, port), {.source = "127.0.0.1"});
            ASSERT_TRUE(client.ReadLine().starts_with("TORVEL server "));
            client.Send(bytes);
            EXPECT_EQ(client.ReadLine(), "abort PROXY protocol header not accepted on this port");
            EXPECT_EQ(client.ReadLine(), "");
        }
    }
    // A client at a refused address cannot get in with one either: it is judged before it speaks.
    RawClient client(server.MaintenancePort(), {.source = "127.0.0.2"});
    client.Send(TextProxyHeader("TCP4", "127.0.0.1", "127.0.0.1") + kFetch);
    EXPECT_EQ(client.ReadLine(), NotAllowed("127.0.0.2"));
}

}  // namespace
}  // namespace torvel_test
