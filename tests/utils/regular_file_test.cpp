#include "utils/file_reading.h"
#include "utils/file_streams.h"
#include "utils/file_utils.h"
#include "utils/regular_file.h"
#include "utils/non_regular_files.h"
#include "utils/test_scratch_directory.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <functional>
#include <limits>
#include <stdexcept>

namespace {

using utils::testing::ScratchDirectory;
using utils::testing::SpecialFile;
using utils::testing::SpecialFiles;

constexpr std::int64_t noLimit = std::numeric_limits<std::int64_t>::max();

std::string FailureOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const std::runtime_error& error) {
        return error.what();
    }
    return "(no error)";
}

TEST(RegularFileTest, EveryOtherKindIsRefusedWithoutWaitingAndNamedInTheMessage)
{
    const ScratchDirectory scratch;
    const SpecialFiles specialFiles(scratch.Path());
    for (const SpecialFile& file : specialFiles.All()) {
        SCOPED_TRACE(file.kind);
        errno = 0;
        EXPECT_FALSE(utils::OpenRegularFileForReading(file.path).IsOpen());
        EXPECT_EQ(errno, file.kind == "a directory" ? EISDIR : EINVAL);
        EXPECT_FALSE(utils::ReadWholeFile(file.path, utils::FileMode::Binary, noLimit).has_value());
        const std::string reason = "It is " + file.kind + ", not a regular file.";
        EXPECT_EQ(utils::NotRegularFileReason(file.path), reason);
        EXPECT_EQ(FailureOf([&] { utils::ReadTextFile(file.path); }), "failed to open " + file.path + "\n" + reason);
        EXPECT_EQ(FailureOf([&] { utils::sifstream stream(file.path); }),
                  "failed to open file\n" + file.path + "\n" + reason);
        const std::string copy = scratch / "copy";
        EXPECT_EQ(FailureOf([&] { utils::CopyFile(file.path, copy, utils::ExistingTarget::Overwrite); }),
                  "Failed to copy file\n" + file.path + "\n to \n" + copy + "\n" + reason);
        EXPECT_FALSE(utils::FileExists(copy));
    }
    EXPECT_FALSE(specialFiles.PipeReaderWasReleased()) << "a reader waited on the named pipe";
}

TEST(RegularFileTest, RegularFilesAndMissingOnes)
{
    const ScratchDirectory scratch;
    const std::string path = scratch / "paper.tex";
    utils::testing::WriteFile(path, "text");
    EXPECT_TRUE(utils::OpenRegularFileForReading(path).IsOpen());
    EXPECT_EQ(utils::NotRegularFileReason(path), "");

    const std::string missing = scratch / "missing.tex";
    errno = 0;
    EXPECT_FALSE(utils::OpenRegularFileForReading(missing).IsOpen());
    EXPECT_EQ(errno, ENOENT);
    EXPECT_EQ(utils::NotRegularFileReason(missing), "") << "opening says why a missing file cannot be read";
}

}  // namespace
