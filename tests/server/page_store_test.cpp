#include "page_history.h"
#include "page_store.h"
#include "scratch_directory.h"
#include "web_root.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <functional>

namespace torvel {
namespace {

namespace fs = std::filesystem;

std::string Contents(const fs::path& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(file)), {});
}

// Every name in a directory tree, hidden temporary files included.
std::vector<std::string> Tree(const fs::path& directory)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::recursive_directory_iterator(directory))
        names.push_back(entry.path().lexically_relative(directory).string());
    std::sort(names.begin(), names.end());
    return names;
}

// A web root "www" and its page history beside it, in ".versions".
class PageStoreTest : public ::testing::Test {
protected:
    PageStoreTest()
    {
        fs::create_directories(m_scratch.Path() / "www/docs");
        m_webRoot = std::make_unique<WebRoot>(m_scratch.Path() / "www");
        m_history = std::make_unique<PageHistory>(fs::path(), 3, *m_webRoot);
        m_history->CheckUsable();
    }
    fs::path Page(const std::string& relative) const { return m_webRoot->Directory() / relative; }
    fs::path Upload(const std::string& contents) const { return m_scratch.Write("job/file", contents); }

    torvel_test::ScratchDirectory m_scratch;
    std::unique_ptr<WebRoot> m_webRoot;
    std::unique_ptr<PageHistory> m_history;
};

TEST_F(PageStoreTest, ReplacesAPageKeepingItsPermissionsAndItsPreviousVersion)
{
    const auto page = m_scratch.Write("www/docs/page.html", "<p>old</p>\n");
    const auto mode = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
    fs::permissions(page, mode);
    const StoredPage stored = StorePage(Upload("<p>new</p>\n"), page, *m_history);
    EXPECT_EQ(Contents(page), "<p>new</p>\n");
    EXPECT_EQ(fs::status(page).permissions(), mode);
    EXPECT_EQ(stored.size, 11u);
    EXPECT_EQ(stored.sha256, "68b683d9865e276eaaa66a91c4663980e78ffa62619add9af8e0c0157740648f");
    ASSERT_TRUE(stored.keptVersion);
    EXPECT_EQ(stored.keptVersion->parent_path(), m_history->Directory() / "docs");
    EXPECT_EQ(Contents(*stored.keptVersion), "<p>old</p>\n");
    EXPECT_EQ(Tree(m_webRoot->Directory()), (std::vector<std::string>{"docs", "docs/page.html"}));
    EXPECT_EQ(m_history->Directory(), m_scratch.Path() / ".versions");
}

TEST_F(PageStoreTest, CreatesANewPageReadableByTheWebServerWithoutAVersion)
{
    const StoredPage stored = StorePage(Upload("x"), Page("new.html"), *m_history);
    EXPECT_EQ(Contents(Page("new.html")), "x");
    EXPECT_NE(fs::status(Page("new.html")).permissions() & fs::perms::others_read, fs::perms::none);
    EXPECT_FALSE(stored.keptVersion);
    EXPECT_TRUE(Tree(m_history->Directory()).empty());
}

// A store that fails at any step leaves the page, its history and both directories as they were.
struct FailureCase {
    std::string name;
    std::string previousPage;
    std::string newPage;
    rlim_t fileSizeLimit;                                  // for files this store writes
    std::function<void(const fs::path& history)> prepare;  // breaks something before the store
};

// Stores in a child process, so the file size limit applies to this store alone.
bool StoreSucceedsInChild(const fs::path& upload, const fs::path& page, const PageHistory& history, rlim_t limit)
{
    const pid_t child = ::fork();
    if (child == 0) {
        ::signal(SIGXFSZ, SIG_IGN);  // a write past the limit fails with EFBIG instead
        const rlimit fileSize{limit, limit};
        ::setrlimit(RLIMIT_FSIZE, &fileSize);
        try {
            StorePage(upload, page, history);
            ::_exit(0);
        } catch (const std::runtime_error&) {
            ::_exit(1);
        }
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

TEST_F(PageStoreTest, AFailedStoreChangesNothing)
{
    const rlim_t unlimited = RLIM_INFINITY;
    const auto nothing = [](const fs::path&) {};
    const FailureCase cases[] = {
        {"the new page is too large to write", "small", std::string(100000, 'n'), 50000, nothing},
        {"the previous version is too large to keep", std::string(100000, 'o'), "small", 50000, nothing},
        {"the history directory cannot be made", "old", "new", unlimited,
         [](const fs::path& history) {
             fs::remove_all(history / "docs");
             std::ofstream(history / "docs") << "a file where a directory belongs";
         }},
    };
    for (const auto& [name, previousPage, newPage, fileSizeLimit, prepare] : cases) {
        const auto page = m_scratch.Write("www/docs/page.html", "first");
        StorePage(Upload(previousPage), page, *m_history);  // the history holds "first"
        prepare(m_history->Directory());
        const std::vector<std::string> historyBefore = Tree(m_history->Directory());
        const std::vector<std::string> webRootBefore = Tree(m_webRoot->Directory());
        EXPECT_FALSE(StoreSucceedsInChild(Upload(newPage), page, *m_history, fileSizeLimit)) << name;
        EXPECT_EQ(Contents(page), previousPage) << name;
        EXPECT_EQ(Tree(m_history->Directory()), historyBefore) << name;
        EXPECT_EQ(Tree(m_webRoot->Directory()), webRootBefore) << name;
        fs::remove_all(m_history->Directory() / "docs");
    }
}

TEST_F(PageStoreTest, ReportsAFailureNamingThePage)
{
    try {
        StorePage(m_scratch.Path() / "missing", Page("page.html"), *m_history);
        FAIL() << "stored from a missing upload";
    } catch (const std::runtime_error& failure) {
        EXPECT_EQ(std::string(failure.what()), "cannot store page.html: open missing: No such file or directory");
    }
    EXPECT_FALSE(fs::exists(Page("page.html")));
}

TEST(PageHistory, StaysOutsideTheWebRoot)
{
    torvel_test::ScratchDirectory scratch;
    fs::create_directories(scratch.Path() / "www/sub");
    const WebRoot webRoot(scratch.Path() / "www");
    for (const fs::path& inside : {scratch.Path() / "www", scratch.Path() / "www/sub", scratch.Path() / "www/sub/.."}) {
        const PageHistory history(inside, 10, webRoot);
        EXPECT_THROW(history.CheckUsable(), std::runtime_error) << inside;
    }
    fs::create_symlink(scratch.Path() / "www", scratch.Path() / "link");
    EXPECT_THROW(PageHistory(scratch.Path() / "link", 10, webRoot).CheckUsable(), std::runtime_error);
    const PageHistory beside(scratch.Path() / "elsewhere", 10, webRoot);
    beside.CheckUsable();
    EXPECT_TRUE(fs::is_directory(scratch.Path() / "elsewhere/.versions"));
}

TEST(PageHistory, NamesVersionsByTheTimeInUtc)
{
    const auto time = std::chrono::sys_days(std::chrono::year(2026) / 12 / 6) + std::chrono::hours(14) +
                      std::chrono::minutes(37) + std::chrono::seconds(43) + std::chrono::microseconds(123456);
    EXPECT_EQ(VersionTimestamp(time), "20261206T143743.123456Z");
    EXPECT_TRUE(IsVersionTimestamp("20261206T143743.123456Z"));
    for (const std::string text : {"20261206T143743.123456", "20261206T143743123456Z", "2026120xT143743.123456Z", ""})
        EXPECT_FALSE(IsVersionTimestamp(text)) << text;
}

}  // namespace
}  // namespace torvel
