#include "page_store.h"
#include "scratch_directory.h"

#include <gtest/gtest.h>

#include <fstream>

namespace torvel {
namespace {

std::string Contents(const std::filesystem::path& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(file)), {});
}

TEST(PageStore, ReplacesAPageAndKeepsItsPermissions)
{
    torvel_test::ScratchDirectory scratch;
    const auto upload = scratch.Write("job/file", "<p>new</p>\n");
    const auto page = scratch.Write("www/page.html", "<p>old</p>\n");
    std::filesystem::permissions(page, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write |
                                           std::filesystem::perms::group_read);
    StorePage(upload, page);
    EXPECT_EQ(Contents(page), "<p>new</p>\n");
    EXPECT_EQ(std::filesystem::status(page).permissions(),
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write | std::filesystem::perms::group_read);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(scratch.Path() / "www"), {}), 1);
}

TEST(PageStore, CreatesANewPageReadableByTheWebServer)
{
    torvel_test::ScratchDirectory scratch;
    const auto upload = scratch.Write("job/file", "x");
    std::filesystem::create_directories(scratch.Path() / "www");
    StorePage(upload, scratch.Path() / "www/new.html");
    EXPECT_EQ(Contents(scratch.Path() / "www/new.html"), "x");
    EXPECT_TRUE((std::filesystem::status(scratch.Path() / "www/new.html").permissions() & std::filesystem::perms::others_read) !=
                std::filesystem::perms::none);
}

TEST(PageStore, LeavesNothingBehindWhenItFails)
{
    torvel_test::ScratchDirectory scratch;
    EXPECT_THROW(StorePage(scratch.Path() / "missing", scratch.Path() / "page.html"), std::runtime_error);
    EXPECT_FALSE(std::filesystem::exists(scratch.Path() / "page.html"));
}

}  // namespace
}  // namespace torvel
