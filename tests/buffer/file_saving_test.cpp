#include "buffer_test_support.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using buffer_test::Fill;
using buffer_test::Lines;
using buffer_test::ReadBytes;
using buffer_test::WriteBytes;
using testing::ElementsAre;
namespace fs = std::filesystem;

class FileSavingTest : public testing::Test {
protected:
    void SetUp() override
    {
        Fill(buffer, {"\\documentclass{article}", "\\begin{document}", "Text", "\\end{document}"});
    }

    void Type(std::string_view text)
    {
        std::int32_t endLine = 0;
        std::int32_t endChar = 0;
        ASSERT_TRUE(buffer.InsertText(nullptr, 2, 0, text, endLine, endChar, 4));
    }

    static fs::perms Permissions(const std::string& path) { return fs::status(path).permissions(); }

    buffer_test::TemporaryDirectory directory;
    std::string path = directory.File("paper.tex");
    CQuillTextBuffer buffer;
};

TEST_F(FileSavingTest, LinesAreWrittenWithTheBufferStyle)
{
    const std::vector<std::pair<LineEndingStyle, std::string>> styles = {
        {LineEndingStyle::CrLf, "a\r\n\r\nb"}, {LineEndingStyle::LfCr, "a\n\r\n\rb"}, {LineEndingStyle::Lf, "a\n\nb"}};
    for (const auto& [style, expected] : styles) {
        buffer.CreateEmpty(style);
        std::int32_t endLine = 0;
        std::int32_t endChar = 0;
        buffer.RawInsertText(nullptr, 0, 0, "a\r\n\r\nb", endLine, endChar);
        ASSERT_TRUE(buffer.SaveFile(path, SaveMode::ClearModified));
        EXPECT_EQ(ReadBytes(path), expected);
        EXPECT_EQ(buffer.GetLineEndingStyle(), style);
    }
    EXPECT_THAT(directory.Entries(), ElementsAre("paper.tex")) << "no temporary file is left behind";
}

TEST_F(FileSavingTest, ANewFileGetsTheUsualPermissionsOfNewFiles)
{
    const mode_t previousMask = ::umask(022);
    const bool saved = buffer.SaveFile(path, SaveMode::ClearModified);
    ::umask(previousMask);
    ASSERT_TRUE(saved) << std::strerror(errno);
    EXPECT_EQ(Permissions(path), fs::perms(0644));
}

TEST_F(FileSavingTest, AReplacedFileKeepsItsPermissions)
{
    WriteBytes(path, "old text");
    fs::permissions(path, fs::perms(0640));
    ASSERT_TRUE(buffer.SaveFile(path, SaveMode::ClearModified)) << std::strerror(errno);
    EXPECT_EQ(Permissions(path), fs::perms(0640));
    EXPECT_EQ(ReadBytes(path), "\\documentclass{article}\r\n\\begin{document}\r\nText\r\n\\end{document}");
}

TEST_F(FileSavingTest, AReplacedFileKeepsItsOwner)
{
    if (::geteuid() != 0) {
        GTEST_SKIP() << "only the superuser can save a file that belongs to another user";
    }
    WriteBytes(path, "someone else's text");
    ASSERT_EQ(::chown(path.c_str(), 65534, 65534), 0);
    ASSERT_TRUE(buffer.SaveFile(path, SaveMode::ClearModified)) << std::strerror(errno);
    struct stat saved {};
    ASSERT_EQ(::stat(path.c_str(), &saved), 0);
    EXPECT_EQ(saved.st_uid, 65534u);
    EXPECT_EQ(saved.st_gid, 65534u);
}

TEST_F(FileSavingTest, ASymbolicLinkStaysALinkAndItsTargetIsReplaced)
{
    const std::string target = directory.File("real.tex");
    WriteBytes(target, "old");
    fs::create_symlink(target, path);
    ASSERT_TRUE(buffer.SaveFile(path, SaveMode::ClearModified)) << std::strerror(errno);
    EXPECT_TRUE(fs::is_symlink(path));
    EXPECT_EQ(ReadBytes(target).substr(0, 14), "\\documentclass");
}

TEST_F(FileSavingTest, AReadOnlyFileIsNotReplaced)
{
    WriteBytes(path, "protected");
    fs::permissions(path, fs::perms(0444));
    Type("x");
    errno = 0;
    EXPECT_FALSE(buffer.SaveFile(path, SaveMode::ClearModified));
    EXPECT_EQ(errno, EACCES);
    EXPECT_EQ(ReadBytes(path), "protected");
    EXPECT_TRUE(buffer.IsModified());
    EXPECT_THAT(directory.Entries(), ElementsAre("paper.tex"));
}

TEST_F(FileSavingTest, AFailedSaveKeepsTheModifiedStateAndTheSavedPosition)
{
    Type("x");
    EXPECT_FALSE(buffer.SaveFile(directory.File("no such directory/paper.tex"), SaveMode::ClearModified));
    EXPECT_EQ(errno, ENOENT);
    EXPECT_TRUE(buffer.IsModified());
    TextPosition caret;
    buffer.Undo(caret);
    EXPECT_FALSE(buffer.IsModified()) << "the saved position is still the one before the edit";
}

TEST_F(FileSavingTest, ADirectoryThatHoldsNoFilesFailsTheSave)
{
    // No one, not even the superuser, creates files in /proc.
    EXPECT_FALSE(buffer.SaveFile("/proc/quillwright-buffer-test.tex", SaveMode::ClearModified));
    EXPECT_NE(errno, 0);
}

TEST_F(FileSavingTest, AnUnwritableDirectoryLeavesTheFileUntouched)
{
    if (::geteuid() == 0) {
        GTEST_SKIP() << "running as root, directory permissions do not stop writes; "
                        "ADirectoryThatHoldsNoFilesFailsTheSave covers the failure path";
    }
    WriteBytes(path, "old text");
    fs::permissions(directory.Path(), fs::perms(0555));
    EXPECT_FALSE(buffer.SaveFile(path, SaveMode::ClearModified));
    EXPECT_EQ(errno, EACCES);
    fs::permissions(directory.Path(), fs::perms(0755));
    EXPECT_EQ(ReadBytes(path), "old text");
    EXPECT_THAT(directory.Entries(), ElementsAre("paper.tex"));
}

// Limits the size of files this process may write, so that a save runs out of room half-way.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        ::getrlimit(RLIMIT_FSIZE, &m_previous);
        m_previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_previous;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &m_previous);
        std::signal(SIGXFSZ, m_previousHandler);
    }

private:
    rlimit m_previous{};
    void (*m_previousHandler)(int) = nullptr;
};

TEST_F(FileSavingTest, AWriteThatRunsOutOfRoomKeepsTheOldFile)
{
    WriteBytes(path, "old text");
    Type(std::string(300000, 'x'));
    bool saved = true;
    int reason = 0;
    {
        FileSizeLimit limit(100000);
        saved = buffer.SaveFile(path, SaveMode::ClearModified);
        reason = errno;
    }
    EXPECT_FALSE(saved);
    EXPECT_EQ(reason, EFBIG);
    EXPECT_EQ(ReadBytes(path), "old text");
    EXPECT_TRUE(buffer.IsModified());
    EXPECT_THAT(directory.Entries(), ElementsAre("paper.tex"));
}

TEST_F(FileSavingTest, SavingChangesNeitherTextNorStyle)
{
    const std::vector<std::string> before = Lines(buffer);
    ASSERT_TRUE(buffer.SaveFile(path, SaveMode::KeepModified));
    EXPECT_EQ(Lines(buffer), before);
    EXPECT_EQ(buffer.GetLineEndingStyle(), LineEndingStyle::CrLf);
}

}  // namespace
