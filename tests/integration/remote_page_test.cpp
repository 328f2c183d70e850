// A page on a real torvel-server: fetched, edited and sent back through its maintenance service, the
// bytes checked in the server's web root.
#include "documents/remote_page_address.h"
#include "documents/remote_page_transfer.h"
#include "server/server_process.h"
#include "utils/test_scratch_directory.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using utils::testing::ReadFile;
using utils::testing::ScratchDirectory;
using utils::testing::WriteFile;

TEST(RemotePageServerTest, APageGoesDownEditedAndBackUp)
{
    torvel_test::ServerProcess server;
    std::filesystem::create_directories(server.WebRoot() / "dir");
    const std::string onServer = server.WebRoot() / "dir" / "index.html";
    WriteFile(onServer, "<html>\n<p>Caf\xc3\xa9 old</p>\n</html>\n");

    const remote_page::Endpoint endpoint{utils::ServerAddress("127.0.0.1:" + std::to_string(server.MaintenancePort()))};
    const std::string serverPath = remote_page::ServerPath("http://localhost/dir/", "localhost");
    ScratchDirectory here;
    const std::string local = here / "page.html";
    remote_page::Download(endpoint, serverPath, local);
    const std::string fetched = ReadFile(local);
    EXPECT_NE(fetched.find("<p>Caf\xc3\xa9 old</p>"), std::string::npos) << fetched;

    WriteFile(local, "<html>\r\n<p>Caf\xc3\xa9 new</p>\r\n</html>\r\n");
    remote_page::Upload(endpoint, local, serverPath);
    EXPECT_EQ(ReadFile(onServer), "<html>\n<p>Caf\xc3\xa9 new</p>\n</html>\n") << "text upload: CR LF becomes LF";

    try {
        remote_page::Download(endpoint, remote_page::ServerPath("http://localhost/missing.html", "localhost"), local);
        ADD_FAILURE() << "a missing page was fetched";
    } catch (const std::exception& error) {
        EXPECT_STREQ(error.what(), "failed to download file from server: file probably doesnt exist");
    }
}

}  // namespace
