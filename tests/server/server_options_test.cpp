#include "server_options.h"

#include <gtest/gtest.h>

namespace torvel {
namespace {

TEST(ServerOptions, HasTheDocumentedDefaults)
{
    const ServerOptions options = ParseServerOptions({}).options;
    EXPECT_EQ(options.bindAddress, "127.0.0.1");
    EXPECT_EQ(options.documentationPort, 3000);
    EXPECT_EQ(options.maintenancePort, 8000);
    EXPECT_EQ(options.webRoot, "/var/www/html");
    EXPECT_GE(options.jobs, 1u);
    EXPECT_EQ(options.timeLimit, std::chrono::seconds(120));
    EXPECT_EQ(options.maxUpload, 256u << 20);
    EXPECT_EQ(options.sandbox, SandboxMode::Bubblewrap);
    EXPECT_EQ(options.documentationAllow.Text(), "0.0.0.0/0,::/0");
    EXPECT_EQ(options.maintenanceAllow.Text(), "127.0.0.0/8,::1/128");
    EXPECT_EQ(options.proxyProtocol, ProxyProtocol::Refuse);
    EXPECT_EQ(options.pageHistory, "");
    EXPECT_EQ(options.pageHistoryDepth, 10u);
}

TEST(ServerOptions, GivesOneClientHalfOfTheJobsByDefault)
{
    const std::pair<std::vector<std::string>, unsigned> cases[] = {
        {{"--jobs", "1"}, 1}, {{"--jobs", "2"}, 1}, {{"--jobs", "5"}, 2}, {{"--jobs", "8"}, 4},
        {{"--jobs", "8", "--jobs-per-client", "8"}, 8}, {{"--jobs-per-client", "3", "--jobs", "2"}, 3},
    };
    for (const auto& [arguments, perClient] : cases)
        EXPECT_EQ(JobsPerClient(ParseServerOptions(arguments).options), perClient) << arguments[1];
}

TEST(ServerOptions, ReadsEveryOption)
{
    const ParsedOptions parsed = ParseServerOptions({"--bind", "0.0.0.0", "--port", "3100", "--maintenance-port", "0",
                                                     "--webroot", "/srv/www", "--jobs", "4", "--time-limit", "30",
                                                     "--idle-timeout", "5", "--max-upload", "1000", "--max-output",
                                                     "100000", "--workdir", "/var/tmp", "--no-sandbox", "--allow",
                                                     "198.51.100.0/24,2001:db8::/32", "--maintenance-allow", "198.51.100.7",
                                                     "--proxy-protocol", "--jobs-per-client", "3", "--page-history",
                                                     "/srv/history", "--page-history-depth", "25"});
    EXPECT_EQ(parsed.request, OptionsRequest::Run);
    EXPECT_EQ(parsed.options.bindAddress, "0.0.0.0");
    EXPECT_EQ(parsed.options.documentationPort, 3100);
    EXPECT_EQ(parsed.options.maintenancePort, 0);
    EXPECT_EQ(parsed.options.webRoot, "/srv/www");
    EXPECT_EQ(parsed.options.jobs, 4u);
    EXPECT_EQ(parsed.options.timeLimit, std::chrono::seconds(30));
    EXPECT_EQ(parsed.options.idleTimeout, std::chrono::seconds(5));
    EXPECT_EQ(parsed.options.maxUpload, 1000u);
    EXPECT_EQ(parsed.options.maxOutput, 100000u);
    EXPECT_EQ(parsed.options.workDirectory, "/var/tmp");
    EXPECT_EQ(parsed.options.sandbox, SandboxMode::None);
    EXPECT_EQ(parsed.options.documentationAllow.Text(), "198.51.100.0/24,2001:db8::/32");
    EXPECT_EQ(parsed.options.maintenanceAllow.Text(), "198.51.100.7/32");
    EXPECT_EQ(parsed.options.proxyProtocol, ProxyProtocol::Accept);
    EXPECT_EQ(JobsPerClient(parsed.options), 3u);
    EXPECT_EQ(parsed.options.pageHistory, "/srv/history");
    EXPECT_EQ(parsed.options.pageHistoryDepth, 25u);
    EXPECT_EQ(ParseServerOptions({"--help"}).request, OptionsRequest::ShowHelp);
    const ParsedOptions restore = ParseServerOptions({"--webroot", "/srv/www", "--restore", "docs/a.html", "--version", "x"});
    EXPECT_EQ(restore.request, OptionsRequest::RestorePage);
    EXPECT_EQ(restore.restorePage, "docs/a.html");
    EXPECT_EQ(restore.restoreVersion, "x");
    EXPECT_EQ(restore.options.webRoot, "/srv/www");
}

TEST(ServerOptions, RefusesBadArguments)
{
    for (const auto& arguments : std::vector<std::vector<std::string>>{
             {"--port", "70000"}, {"--port", "x"}, {"--jobs", "0"}, {"--time-limit"}, {"--sandbox"}, {"--port", "-1"},
             {"--allow", "10.0.0.0/33"}, {"--maintenance-allow", ""}, {"--jobs-per-client", "0"},
             {"--page-history-depth", "0"}, {"--version", "20261206T143743.123456Z"}, {"--restore"}}) {
        EXPECT_THROW(ParseServerOptions(arguments), std::invalid_argument) << arguments.front();
    }
}

}  // namespace
}  // namespace torvel
