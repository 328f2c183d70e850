#include "utils/file_streams.h"

#include "utils/test_scratch_directory.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <functional>
#include <stdexcept>

namespace utils {
namespace {

using testing::ReadFile;
using testing::ScratchDirectory;
using testing::WriteFile;

std::string FailureOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const std::runtime_error& error) {
        return error.what();
    }
    return "nothing thrown";
}

TEST(FileStreams, InputStreamOnMissingFileNamesPathAndError)
{
    const ScratchDirectory scratch;
    const std::string path = scratch / "missing.tex";
    EXPECT_EQ(FailureOf([&] { sifstream stream(path); }),
              "failed to open file\n" + path + "\n" + std::strerror(ENOENT));
}

TEST(FileStreams, StaleErrnoDoesNotLeakIntoTheMessage)
{
    const ScratchDirectory scratch;
    const std::string path = scratch / "missing.tex";
    errno = EACCES;
    EXPECT_EQ(FailureOf([&] { sifstream stream(path, std::ios::binary); }),
              "failed to open file\n" + path + "\n" + std::strerror(ENOENT));
}

TEST(FileStreams, OutputStreamInMissingDirectoryNamesPathAndError)
{
    const ScratchDirectory scratch;
    const std::string path = scratch / "missing/out.ps";
    EXPECT_EQ(FailureOf([&] { sofstream stream(path); }),
              "failed to create file\n" + path + "\n" + std::strerror(ENOENT));
    EXPECT_EQ(FailureOf([&] { sofstream stream(scratch.Path()); }),
              "failed to create file\n" + scratch.Path() + "\n" + std::strerror(EISDIR));
}

TEST(FileStreams, OpenStreamsReadAndWrite)
{
    const ScratchDirectory scratch;
    const std::string path = scratch / "data.bin";
    {
        sofstream output(path, std::ios::binary);
        output << "first\r\n";
    }
    {
        sofstream output(path, std::ios::binary | std::ios::app);
        output << "second";
    }
    EXPECT_EQ(ReadFile(path), "first\r\nsecond");
    sifstream input(path, std::ios::binary);
    std::string word;
    input >> word;
    EXPECT_EQ(word, "first");
}

TEST(FileStreams, RefusedOpenModeLeavesExistingFileAlone)
{
    const ScratchDirectory scratch;
    const std::string path = scratch / "keep.txt";
    WriteFile(path, "keep");
    // Truncating and appending at once is not a valid mode; finding out why must not empty the file.
    EXPECT_EQ(FailureOf([&] { sofstream stream(path, std::ios::trunc | std::ios::app); }),
              "failed to create file\n" + path + "\n" + std::strerror(EINVAL));
    EXPECT_EQ(ReadFile(path), "keep");
}

}  // namespace
}  // namespace utils
