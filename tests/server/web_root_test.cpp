#include "protocol_error.h"
#include "scratch_directory.h"
#include "web_root.h"

#include <gtest/gtest.h>

namespace torvel {
namespace {

class WebRootTest : public ::testing::Test {
protected:
    WebRootTest()
    {
        m_scratch.Write("www/index.html", "<p>home</p>");
        m_scratch.Write("www/dir/page.html", "<p>page</p>");
        m_scratch.Write("secret.txt", "outside");
        std::filesystem::create_symlink(m_scratch.Path() / "secret.txt", m_scratch.Path() / "www/secret.html");
        std::filesystem::create_symlink(m_scratch.Path(), m_scratch.Path() / "www/up");
        std::filesystem::create_symlink("dir/page.html", m_scratch.Path() / "www/alias.html");
    }
    std::filesystem::path Root() const { return std::filesystem::canonical(m_scratch.Path() / "www"); }

    torvel_test::ScratchDirectory m_scratch;
};

TEST_F(WebRootTest, MapsTheClientsNameOfTheWebRoot)
{
    const WebRoot root(m_scratch.Path() / "www");
    EXPECT_EQ(root.PageToRead("/var/www/html/index.html"), Root() / "index.html");
    EXPECT_EQ(root.PageToRead("/var/www/html/dir/page.html"), Root() / "dir/page.html");
    EXPECT_EQ(root.PageToRead("/var/www/html/dir/missing.html"), std::nullopt);
    EXPECT_EQ(root.PageToWrite("/var/www/html/dir/new.html"), Root() / "dir/new.html");
}

TEST_F(WebRootTest, FollowsLinksThatStayInside)
{
    const WebRoot root(m_scratch.Path() / "www");
    EXPECT_EQ(root.PageToRead("/var/www/html/alias.html"), Root() / "dir/page.html");
    EXPECT_EQ(root.PageToWrite("/var/www/html/alias.html"), Root() / "dir/page.html");
}

TEST_F(WebRootTest, RefusesEveryWayOut)
{
    const WebRoot root(m_scratch.Path() / "www");
    for (const std::string path : {"/etc/passwd", "/var/www/html/../secret.txt", "/var/www/html/dir/../../secret.txt",
                                   "/var/www/html/secret.html", "/var/www/html/up/secret.txt", "/var/www/htmlx/a.html",
                                   "/host/var/www/html/a.html", "var/www/html/index.html"}) {
        EXPECT_THROW(root.PageToRead(path), ProtocolError) << path;
        EXPECT_THROW(root.PageToWrite(path), ProtocolError) << path;
    }
    EXPECT_THROW(root.PageToRead(std::string("/var/www/html/index.html\0/x", 28)), ProtocolError);
}

TEST_F(WebRootTest, RefusesToWriteWhereNoPageCanBe)
{
    const WebRoot root(m_scratch.Path() / "www");
    EXPECT_THROW(root.PageToWrite("/var/www/html/dir"), ProtocolError);
    EXPECT_THROW(root.PageToWrite("/var/www/html/nodir/new.html"), ProtocolError);
}

TEST(WebRoot, MustExist)
{
    EXPECT_THROW(WebRoot("/nonexistent/www"), std::runtime_error);
}

}  // namespace
}  // namespace torvel
