#include "utils/file_utils.h"

#include "utils/test_scratch_directory.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <optional>
#include <stdexcept>
#include <sys/stat.h>
#include <utime.h>

namespace utils {
namespace {

using testing::ReadFile;
using testing::ScratchDirectory;
using testing::WriteFile;
using namespace std::string_literals;

std::string Strerror(int errorNumber)
{
    return std::strerror(errorNumber);
}

std::string FailureOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const std::runtime_error& error) {
        return error.what();
    }
    return "nothing thrown";
}

mode_t Permissions(const std::string& path)
{
    struct stat status {};
    ::stat(path.c_str(), &status);
    return status.st_mode & 07777;
}

// Sets TMPDIR for one test and restores it afterwards.
class TemporaryDirectoryVariable {
public:
    explicit TemporaryDirectoryVariable(const std::string& value)
    {
        if (const char* old = std::getenv("TMPDIR"))
            previous = old;
        ::setenv("TMPDIR", value.c_str(), 1);
    }
    ~TemporaryDirectoryVariable()
    {
        if (previous.empty())
            ::unsetenv("TMPDIR");
        else
            ::setenv("TMPDIR", previous.c_str(), 1);
    }

private:
    std::string previous;
};

TEST(TemporaryFiles, TemporaryDirectoryComesFromEnvironmentWithoutTrailingSlash)
{
    const ScratchDirectory scratch;
    const TemporaryDirectoryVariable variable(scratch.Path() + "//");
    EXPECT_EQ(TemporaryDirectory(), scratch.Path());
}

TEST(TemporaryFiles, MissingTemporaryDirectoryIsReported)
{
    const ScratchDirectory scratch;
    const TemporaryDirectoryVariable variable(scratch / "missing");
    EXPECT_EQ(FailureOf([] { TemporaryDirectory(); }),
              "Failed to determine temporary directory:\n" + Strerror(ENOENT));
}

TEST(TemporaryFiles, CreatedFileIsNewEmptyAndPrefixed)
{
    const ScratchDirectory scratch;
    const std::string first = CreateTemporaryFile(scratch.Path());
    const std::string second = CreateTemporaryFile(scratch.Path() + "/");
    EXPECT_EQ(first.rfind(scratch.Path() + "/$", 0), 0u) << first;
    EXPECT_EQ(second.rfind(scratch.Path() + "/$", 0), 0u) << second;
    EXPECT_NE(first, second);
    EXPECT_EQ(FileSize(first), 0);
    EXPECT_EQ(FileSize(second), 0);
}

TEST(TemporaryFiles, EmptyDirectoryMeansTheTemporaryDirectory)
{
    const ScratchDirectory scratch;
    const TemporaryDirectoryVariable variable(scratch.Path());
    const std::string created = CreateTemporaryFile("");
    EXPECT_EQ(created.rfind(scratch.Path() + "/$", 0), 0u) << created;
    EXPECT_TRUE(FileExists(created));
}

TEST(TemporaryFiles, FailureNamesTheDirectory)
{
    const ScratchDirectory scratch;
    const std::string missing = scratch / "missing";
    EXPECT_EQ(FailureOf([&] { CreateTemporaryFile(missing); }),
              "Failed to create temporary file in\n" + missing + "\n" + Strerror(ENOENT));
}

TEST(CanonicalPath, ResolvesExistingPathsOnly)
{
    const ScratchDirectory scratch;
    ::mkdir((scratch / "sub").c_str(), 0755);
    WriteFile(scratch / "file.tex", "x");
    const std::string resolvedScratch = CanonicalPath(scratch.Path());
    EXPECT_EQ(CanonicalPath(scratch / "sub/../file.tex"), resolvedScratch + "/file.tex");
    const std::string missing = scratch / "missing.tex";
    EXPECT_EQ(FailureOf([&] { CanonicalPath(missing); }),
              "Failed to create DOS alias for\n" + missing + "\n" + Strerror(ENOENT));
    EXPECT_EQ(FailureOf([] { CanonicalPath(""); }), "Failed to create DOS alias for\n\n" + Strerror(ENOENT));
}

TEST(IsAbsolutePath, OnlyALeadingSlash)
{
    EXPECT_TRUE(IsAbsolutePath("/home/user/paper.tex"));
    EXPECT_TRUE(IsAbsolutePath("//server"));
    EXPECT_FALSE(IsAbsolutePath("x/y"));
    EXPECT_FALSE(IsAbsolutePath("x\\y"));
    EXPECT_FALSE(IsAbsolutePath("D:\\x"));
    EXPECT_FALSE(IsAbsolutePath("\\\\server\\share"));
    EXPECT_FALSE(IsAbsolutePath(""));
}

TEST(ReadOnly, SettingRemovesAllWriteBitsClearingAddsOwners)
{
    const ScratchDirectory scratch;
    const std::string path = scratch / "page.html";
    WriteFile(path, "x");
    ::chmod(path.c_str(), 0664);
    EXPECT_FALSE(IsReadOnly(path));
    EXPECT_TRUE(SetReadOnly(path, ReadOnlyFlag::Set));
    EXPECT_TRUE(IsReadOnly(path));
    EXPECT_EQ(Permissions(path), 0444u);
    EXPECT_TRUE(SetReadOnly(path, ReadOnlyFlag::Clear));
    EXPECT_FALSE(IsReadOnly(path));
    EXPECT_EQ(Permissions(path), 0644u);
}

TEST(ReadOnly, OwnerWriteBitDecides)
{
    const ScratchDirectory scratch;
    const std::string path = scratch / "page.html";
    WriteFile(path, "x");
    ::chmod(path.c_str(), 0466);
    EXPECT_TRUE(IsReadOnly(path));
}

TEST(ReadOnly, MissingFileIsNeitherReadOnlyNorChangeable)
{
    const ScratchDirectory scratch;
    EXPECT_FALSE(IsReadOnly(scratch / "missing"));
    EXPECT_FALSE(SetReadOnly(scratch / "missing", ReadOnlyFlag::Set));
    EXPECT_FALSE(SetReadOnly(scratch / "missing", ReadOnlyFlag::Clear));
}

TEST(FileStatus, SizeTimeAndExistence)
{
    const ScratchDirectory scratch;
    const std::string empty = scratch / "empty";
    const std::string five = scratch / "five";
    WriteFile(empty, "");
    WriteFile(five, "12345");
    EXPECT_EQ(FileSize(scratch / "missing"), -1);
    EXPECT_EQ(FileSize(empty), 0);
    EXPECT_EQ(FileSize(five), 5);

    const utimbuf times{1000000000, 1234567890};
    ::utime(five.c_str(), &times);
    EXPECT_EQ(ModificationTime(five), 1234567890);
    EXPECT_EQ(ModificationTime(scratch / "missing"), -1);

    EXPECT_TRUE(FileExists(five));
    EXPECT_TRUE(FileExists(scratch.Path()));
    EXPECT_FALSE(FileExists(scratch / "missing"));
}

TEST(CopyFile, CopiesBytesAndPermissions)
{
    const ScratchDirectory scratch;
    const std::string source = scratch / "source.ps";
    std::string content = "line\r\nwith\0nul\n"s;
    content += std::string(200000, 'x');
    WriteFile(source, content);
    ::chmod(source.c_str(), 0640);
    CopyFile(source, scratch / "copy.ps", ExistingTarget::Fail);
    EXPECT_EQ(ReadFile(scratch / "copy.ps"), content);
    EXPECT_EQ(Permissions(scratch / "copy.ps"), 0640u);
}

TEST(CopyFile, OverwriteReplacesAnExistingTarget)
{
    const ScratchDirectory scratch;
    WriteFile(scratch / "new.png", "new");
    WriteFile(scratch / "old.png", "old");
    CopyFile(scratch / "new.png", scratch / "old.png", ExistingTarget::Overwrite);
    EXPECT_EQ(ReadFile(scratch / "old.png"), "new");
}

TEST(CopyFile, RefusedCopiesNameBothPathsAndLeaveTheTargetAsItWas)
{
    struct RefusalCase {
        const char* what;
        std::string source;
        std::string target;
        ExistingTarget existing;
        int errorNumber;
        std::optional<std::string> targetAfter;  // none: the target must not exist
    };
    const ScratchDirectory scratch;
    WriteFile(scratch / "new.png", "new");
    WriteFile(scratch / "old.png", "old");
    const RefusalCase cases[] = {
        {"an existing target", scratch / "new.png", scratch / "old.png", ExistingTarget::Fail, EEXIST, "old"},
        {"a copy onto itself", scratch / "old.png", scratch / "./old.png", ExistingTarget::Overwrite, EINVAL, "old"},
        {"a missing source", scratch / "missing", scratch / "target", ExistingTarget::Overwrite, ENOENT, std::nullopt},
    };
    for (const RefusalCase& testCase : cases) {
        SCOPED_TRACE(testCase.what);
        EXPECT_EQ(FailureOf([&] { CopyFile(testCase.source, testCase.target, testCase.existing); }),
                  "Failed to copy file\n" + testCase.source + "\n to \n" + testCase.target + "\n" + Strerror(testCase.errorNumber));
        if (testCase.targetAfter)
            EXPECT_EQ(ReadFile(testCase.target), *testCase.targetAfter);
        else
            EXPECT_FALSE(FileExists(testCase.target));
    }
}

TEST(ReadTextFile, CarriageReturnLineFeedBecomesLineFeed)
{
    const ScratchDirectory scratch;
    const std::string path = scratch / "paper.tex";
    WriteFile(path, "a\r\nb\rc\n\r\r\r\nend\0x\r"s);
    EXPECT_EQ(ReadTextFile(path), "a\nb\rc\n\r\r\nend\0x\r"s);
}

TEST(ReadTextFile, LargeFileIsReadWhole)
{
    const ScratchDirectory scratch;
    const std::string path = scratch / "large.tex";
    std::string content;
    for (int line = 0; line < 300000; ++line)
        content += "line " + std::to_string(line) + "\r\n";
    WriteFile(path, content);
    const std::string text = ReadTextFile(path);
    EXPECT_EQ(text.size(), content.size() - 300000);
    EXPECT_EQ(text.substr(text.size() - 12), "line 299999\n");
}

TEST(ReadTextFile, MissingFileIsReportedWithoutSystemText)
{
    // Paths that are not files are named with what they are (regular_file_test.cpp).
    const ScratchDirectory scratch;
    const std::string missing = scratch / "missing.tex";
    EXPECT_EQ(FailureOf([&] { ReadTextFile(missing); }), "failed to open " + missing);
}

}  // namespace
}  // namespace utils
