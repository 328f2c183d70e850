// No page lost: stores through the maintenance port keep the versions they replace, and the
// server's restore mode puts one back.
#include "app/program_runner.h"
#include "raw_client.h"
#include "scratch_directory.h"
#include "server_process.h"
#include "sha256.h"

#include <gtest/gtest.h>

#include <fstream>
#include <regex>

namespace torvel_test {
namespace {

namespace fs = std::filesystem;

std::string Contents(const fs::path& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(file)), {});
}

std::string Sha256Of(const std::string& bytes)
{
    torvel::Sha256 sha256;
    sha256.Add(bytes);
    return sha256.HexDigest();
}

void Store(int port, const std::string& clientPath, const std::string& contents)
{
    RawClient client(port);
    ASSERT_TRUE(client.ReadLine().starts_with("TORVEL server "));
    client.Send("client Quillwright\nservice maintenance\nput file:" + std::to_string(contents.size()) +
                ":dos\nrun cp file " + clientPath + "\ncommit\n");
    ASSERT_EQ(client.ReadLine(), "commit");
    client.Send(contents);
    ASSERT_EQ(client.ReadLine(), "commit");
}

// The kept versions' timestamps, oldest first.
std::vector<std::string> Versions(const fs::path& directory, const std::string& name)
{
    std::vector<std::string> timestamps;
    for (const auto& entry : fs::directory_iterator(directory)) {
        const std::string file = entry.path().filename().string();
        EXPECT_TRUE(file.starts_with(name + ".")) << file;
        timestamps.push_back(file.substr(name.size() + 1));
    }
    std::sort(timestamps.begin(), timestamps.end());
    return timestamps;
}

TEST(PageHistory, KeepsTheConfiguredDepthAndRestoresTheChosenVersion)
{
    ServerProcess server({"--page-history-depth", "4"});
    fs::create_directories(server.WebRoot() / "docs");
    std::ofstream(server.WebRoot() / "docs/p.html") << "version 0";
    for (int store = 1; store <= 10; ++store)
        Store(server.MaintenancePort(), "/var/www/html/docs/p.html", "version " + std::to_string(store));
    ASSERT_EQ(Contents(server.WebRoot() / "docs/p.html"), "version 10");

    const fs::path versions = server.Scratch() / ".versions/docs";
    const std::vector<std::string> kept = Versions(versions, "p.html");
    ASSERT_EQ(kept.size(), 4u);
    for (int index = 0; index < 4; ++index)
        EXPECT_EQ(Contents(versions / ("p.html." + kept[index])), "version " + std::to_string(6 + index));
    EXPECT_TRUE(server.LogShows("page stored client=127.0.0.1:"));
    EXPECT_TRUE(server.LogShows(" page=/var/www/html/docs/p.html size=10 sha256=" + Sha256Of("version 10") +
                                " kept=" + (versions / ("p.html." + kept[3])).string()))
        << server.Log();

    // The administrator's undo: a chosen version, then the newest one (the page the restore replaced).
    const std::vector<std::string> common = {"--webroot", server.WebRoot().string(), "--page-history-depth", "4"};
    struct Restore {
        std::vector<std::string> arguments;
        int exitStatus;
        std::string page;
        std::string message;  // the beginning of what it prints
    };
    const Restore restores[] = {
        {{"--restore", "/var/www/html/docs/p.html", "--version", kept[1]}, 0, "version 7",
         "restored /var/www/html/docs/p.html from version " + kept[1] + " (9 bytes, sha256 " + Sha256Of("version 7") + ")"},
        {{"--restore", "docs/p.html"}, 0, "version 10", "restored /var/www/html/docs/p.html from version "},
        {{"--restore", (server.WebRoot() / "docs/p.html").string(), "--version", "20010101T000000.000000Z"}, 1,
         "version 10", "torvel-server: no version 20010101T000000.000000Z of /var/www/html/docs/p.html is kept; there are "},
        {{"--restore", "docs/none.html"}, 1, "version 10", "torvel-server: no versions of /var/www/html/docs/none.html are kept"},
        {{"--restore", "/etc/passwd"}, 1, "version 10", "torvel-server: page /etc/passwd is not inside the web root"},
    };
    for (const auto& [arguments, exitStatus, page, message] : restores) {
        std::vector<std::string> all = arguments;
        all.insert(all.end(), common.begin(), common.end());
        const auto result = app::testing::RunProgram(ServerProgram().string(), all);
        EXPECT_EQ(result.exitStatus, exitStatus) << arguments[1] << result.standardError;
        EXPECT_EQ(Contents(server.WebRoot() / "docs/p.html"), page) << arguments[1];
        const std::string& output = exitStatus == 0 ? result.standardOutput : result.standardError;
        EXPECT_TRUE(output.starts_with(message)) << output;
    }
    EXPECT_EQ(Versions(versions, "p.html").size(), 4u);
}

TEST(PageHistory, AStoreCutShortLeavesThePageAndItsHistory)
{
    ServerProcess server({"--idle-timeout", "1"});
    std::ofstream(server.WebRoot() / "p.html") << "original";
    {
        RawClient client(server.MaintenancePort());
        client.ReadLine();
        client.Send("client Quillwright\nservice maintenance\nput file:1000:dos\nrun cp file /var/www/html/p.html\ncommit\n");
        ASSERT_EQ(client.ReadLine(), "commit");
        client.Send(std::string(500, 'x'));
        client.FinishSending();
        EXPECT_EQ(client.ReadLine(), "abort client closed the connection early");
    }
    EXPECT_TRUE(server.LogShows("service=maintenance files=0 bytes=0"));
    EXPECT_TRUE(server.LogShows("result=failed: client closed the connection early"));
    EXPECT_EQ(Contents(server.WebRoot() / "p.html"), "original");
    EXPECT_TRUE(fs::is_empty(server.Scratch() / ".versions"));
    EXPECT_EQ(std::distance(fs::directory_iterator(server.WebRoot()), {}), 1);
}

TEST(PageHistory, RefusesToKeepVersionsInsideTheWebRoot)
{
    ScratchDirectory scratch;
    fs::create_directories(scratch.Path() / "www/archive");
    const std::string webRoot = (scratch.Path() / "www").string();
    const auto result = app::testing::RunProgram(
        ServerProgram().string(), {"--port", "0", "--maintenance-port", "0", "--no-sandbox", "--webroot", webRoot,
                                   "--workdir", scratch.Path().string(), "--page-history", webRoot + "/archive"});
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_EQ(result.standardError, "torvel-server: page history " + webRoot + "/archive/.versions lies inside the web root " +
                                        webRoot + "; choose a directory outside it with --page-history\n");
}

}  // namespace
}  // namespace torvel_test
