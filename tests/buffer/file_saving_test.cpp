#include "buffer_test_support.h"
#include "utils/file_size_limit.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <sys/xattr.h>
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

TEST_F(FileSavingTest, AFileWithSeveralNamesIsRewrittenSoThatEveryNameSeesTheText)
{
    WriteBytes(path, "old text");
    const std::string otherName = directory.File("other.tex");
    fs::create_hard_link(path, otherName);
    fs::permissions(path, fs::perms(0600));
    ASSERT_TRUE(buffer.SaveFile(path, SaveMode::ClearModified)) << std::strerror(errno);
    const std::string expected = "\\documentclass{article}\r\n\\begin{document}\r\nText\r\n\\end{document}";
    EXPECT_EQ(ReadBytes(otherName), expected);
    EXPECT_EQ(fs::hard_link_count(path), 2u);
    EXPECT_EQ(Permissions(otherName), fs::perms(0600));
    EXPECT_TRUE(buffer.KeptBackupPath().empty());
    EXPECT_THAT(directory.Entries(), ElementsAre("other.tex", "paper.tex")) << "the backup is removed";
}

TEST_F(FileSavingTest, AWriteThatRunsOutOfRoomLosesNoText)
{
    struct Case {
        const char* situation;
        std::vector<std::string> otherNames;
        // A rename never touched the file; a rewrite in place leaves the backup of its old text.
        bool keepsBackup;
    };
    const std::vector<Case> cases = {
        {"one name: the new text never replaces the file", {}, false},
        {"two names: the file is cut short, its old text waits in the backup", {"other.tex"}, true},
    };
    for (const Case& testCase : cases) {
        SCOPED_TRACE(testCase.situation);
        buffer_test::TemporaryDirectory caseDirectory;
        const std::string casePath = caseDirectory.File("paper.tex");
        WriteBytes(casePath, "old text");
        for (const std::string& name : testCase.otherNames)
            fs::create_hard_link(casePath, caseDirectory.File(name));
        SetUp();
        Type(std::string(300000, 'x'));
        bool saved = true;
        int reason = 0;
        {
            utils::testing::FileSizeLimit limit(100000);
            saved = buffer.SaveFile(casePath, SaveMode::ClearModified);
            reason = errno;
        }
        EXPECT_FALSE(saved);
        EXPECT_EQ(reason, EFBIG);
        EXPECT_TRUE(buffer.IsModified());
        const std::string backup = buffer.KeptBackupPath();
        std::vector<std::string> expectedEntries = testCase.otherNames;
        expectedEntries.push_back("paper.tex");
        if (!testCase.keepsBackup) {
            EXPECT_EQ(backup, "");
            EXPECT_EQ(ReadBytes(casePath), "old text");
            EXPECT_EQ(caseDirectory.Entries(), expectedEntries) << "no temporary file is left behind";
            continue;
        }
        ASSERT_EQ(fs::path(backup).parent_path(), caseDirectory.Path());
        EXPECT_TRUE(fs::path(backup).filename().string().starts_with("paper.tex.backup-")) << backup;
        EXPECT_EQ(ReadBytes(backup), "old text");
        expectedEntries.push_back(fs::path(backup).filename().string());
        std::sort(expectedEntries.begin(), expectedEntries.end());
        EXPECT_EQ(caseDirectory.Entries(), expectedEntries);
    }
}

// Why the file system of probePath cannot keep extended attributes or ACLs; empty when it can.
std::string LackOfExtendedAttributes(const std::string& probePath)
{
    if (::setxattr(probePath.c_str(), "user.quillwright-probe", "1", 1, 0) != 0)
        return "the file system of " + probePath + " keeps no user extended attributes: " + std::strerror(errno);
    ::removexattr(probePath.c_str(), "user.quillwright-probe");
    if (::getxattr(probePath.c_str(), "system.posix_acl_access", nullptr, 0) < 0 && errno == EOPNOTSUPP)
        return "the file system of " + probePath + " keeps no POSIX ACLs";
    return {};
}

// An access ACL in the kernel's extended attribute form: the owner may read and write, user 4242
// (through the mask) and the group may read, others nothing.
std::string AccessAclGrantingUser4242()
{
    struct Entry {
        std::uint16_t tag;
        std::uint16_t permissions;
        std::uint32_t id;
    };
    constexpr std::uint32_t noId = 0xffffffff;
    const std::vector<Entry> entries = {{0x01, 6, noId}, {0x02, 4, 4242}, {0x04, 4, noId}, {0x10, 4, noId}, {0x20, 0, noId}};
    std::string bytes(4, '\0');
    bytes[0] = 2;  // version
    for (const Entry& entry : entries)
        bytes.append(reinterpret_cast<const char*>(&entry), sizeof entry);
    return bytes;
}

std::string Attribute(const std::string& path, const char* name)
{
    std::string value(4096, '\0');
    const ssize_t size = ::getxattr(path.c_str(), name, value.data(), value.size());
    if (size < 0)
        return "(none: " + std::string(std::strerror(errno)) + ")";
    value.resize(static_cast<std::size_t>(size));
    return value;
}

TEST_F(FileSavingTest, ExtendedAttributesAndTheAclSurviveASave)
{
    WriteBytes(path, "old text");
    if (const std::string lack = LackOfExtendedAttributes(path); !lack.empty())
        GTEST_SKIP() << lack;
    const std::string acl = AccessAclGrantingUser4242();
    for (const bool hardLinked : {false, true}) {
        SCOPED_TRACE(hardLinked ? "rewritten in place" : "replaced by a rename");
        buffer_test::TemporaryDirectory caseDirectory;
        const std::string casePath = caseDirectory.File("paper.tex");
        WriteBytes(casePath, "old text");
        if (hardLinked)
            fs::create_hard_link(casePath, caseDirectory.File("other.tex"));
        ASSERT_EQ(::setxattr(casePath.c_str(), "user.origin", "kept", 4, 0), 0) << std::strerror(errno);
        ASSERT_EQ(::setxattr(casePath.c_str(), "system.posix_acl_access", acl.data(), acl.size(), 0), 0)
            << std::strerror(errno);

        ASSERT_TRUE(buffer.SaveFile(casePath, SaveMode::ClearModified)) << std::strerror(errno);
        EXPECT_EQ(ReadBytes(casePath).substr(0, 14), "\\documentclass");
        EXPECT_EQ(Attribute(casePath, "user.origin"), "kept");
        EXPECT_EQ(Attribute(casePath, "system.posix_acl_access"), acl);
        EXPECT_EQ(Permissions(casePath), fs::perms(0640)) << "the group bits show the ACL's mask";
    }
}

TEST_F(FileSavingTest, SavingChangesNeitherTextNorStyle)
{
    const std::vector<std::string> before = Lines(buffer);
    ASSERT_TRUE(buffer.SaveFile(path, SaveMode::KeepModified));
    EXPECT_EQ(Lines(buffer), before);
    EXPECT_EQ(buffer.GetLineEndingStyle(), LineEndingStyle::CrLf);
}

}  // namespace
