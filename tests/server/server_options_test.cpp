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
}

TEST(ServerOptions, ReadsEveryOption)
{
    const ParsedOptions parsed = ParseServerOptions({"--bind", "0.0.0.0", "--port", "3100", "--maintenance-port", "0",
                                                     "--webroot", "/srv/www", "--jobs", "4", "--time-limit", "30",
                                                     "--idle-timeout", "5", "--max-upload", "1000", "--max-output",
                                                     "100000", "--workdir", "/var/tmp", "--no-sandbox"});
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
    EXPECT_EQ(ParseServerOptions({"--help"}).request, OptionsRequest::ShowHelp);
}

TEST(ServerOptions, RefusesBadArguments)
{
    for (const auto& arguments : std::vector<std::vector<std::string>>{
             {"--port", "70000"}, {"--port", "x"}, {"--jobs", "0"}, {"--time-limit"}, {"--sandbox"}, {"--port", "-1"}}) {
        EXPECT_THROW(ParseServerOptions(arguments), std::invalid_argument) << arguments.front();
    }
}

}  // namespace
}  // namespace torvel
