#include "utils/process.h"

#include "utils/test_scratch_directory.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <thread>
#include <unistd.h>

namespace utils {
namespace {

using testing::ReadFile;
using testing::ScratchDirectory;
using testing::WriteFile;

TEST(StartProcess, WaitingReturnsTheExitCodeAfterTheEnd)
{
    const ScratchDirectory scratch;
    const std::string marker = scratch / "ended";
    const auto process = StartProcess("/bin/sh -c \"sleep 0.2; echo done > '" + marker + "'; exit 3\"", ProcessWaitForExit);
    ASSERT_TRUE(process.has_value());
    EXPECT_EQ(process->ExitCode(), 3);
    EXPECT_EQ(ReadFile(marker), "done\n");
    EXPECT_GT(process->ProcessId(), 0);
}

TEST(StartProcess, ProgramIsFoundOnThePath)
{
    const auto process = StartProcess("true", ProcessWaitForExit | ProcessHidden);
    ASSERT_TRUE(process.has_value());
    EXPECT_EQ(process->ExitCode(), 0);
}

TEST(StartProcess, WorkingDirectoryIsHonoured)
{
    const ScratchDirectory scratch;
    const auto process = StartProcess("/bin/sh -c \"pwd -P > where.txt\"", ProcessWaitForExit, scratch.Path());
    ASSERT_TRUE(process.has_value());
    EXPECT_EQ(process->ExitCode(), 0);
    const std::string resolved = std::filesystem::canonical(scratch.Path()).string();
    EXPECT_EQ(ReadFile(scratch / "where.txt"), resolved + "\n");
}

TEST(StartProcess, QuotedArgumentsKeepTheirBlanks)
{
    const ScratchDirectory scratch;
    WriteFile(scratch / "args.sh", "for argument in \"$@\"; do echo \"[$argument]\"; done > args.txt\n");
    const auto process = StartProcess("/bin/sh  args.sh \"first argument\"   second \"\"\"quoted\"\"\"", ProcessWaitForExit,
                                      scratch.Path());
    ASSERT_TRUE(process.has_value());
    EXPECT_EQ(process->ExitCode(), 0);
    EXPECT_EQ(ReadFile(scratch / "args.txt"), "[first argument]\n[second]\n[\"quoted\"]\n");
}

TEST(StartProcess, WithoutWaitingTheHandleWaitsLater)
{
    auto process = StartProcess("/bin/sh -c \"exit 7\"");
    ASSERT_TRUE(process.has_value());
    auto handle = std::move(*process);
    EXPECT_FALSE(handle.ExitCode().has_value());
    EXPECT_EQ(handle.Wait(), 7);
    EXPECT_EQ(handle.Wait(), 7);
    EXPECT_EQ(handle.ExitCode(), 7);
}

TEST(StartProcess, EndingBySignalGivesShellStyleCode)
{
    const auto process = StartProcess("/bin/sh -c \"kill -TERM $$\"", ProcessWaitForExit);
    ASSERT_TRUE(process.has_value());
    EXPECT_EQ(process->ExitCode(), 128 + SIGTERM);
}

TEST(StartProcess, FailuresReturnNoneWithErrno)
{
    errno = 0;
    EXPECT_FALSE(StartProcess("/nonexistent/program argument").has_value());
    EXPECT_EQ(errno, ENOENT);
    errno = 0;
    EXPECT_FALSE(StartProcess("true", ProcessWaitForExit, "/nonexistent/directory").has_value());
    EXPECT_EQ(errno, ENOENT);
    errno = 0;
    EXPECT_FALSE(StartProcess("   ").has_value());
    EXPECT_EQ(errno, ENOENT);
    errno = 0;
    EXPECT_FALSE(StartProcess("true " + std::string(70000, 'x')).has_value());
    EXPECT_EQ(errno, E2BIG);
}

TEST(StartProcess, OurDescriptorsAreNotInherited)
{
    const ScratchDirectory scratch;
    WriteFile(scratch / "secret", "x");
    const int inheritable = ::open((scratch / "secret").c_str(), O_RDONLY);
    ASSERT_GE(inheritable, 0);
    ASSERT_EQ(::dup2(inheritable, 57), 57);
    const auto process = StartProcess("/bin/sh -c \"test -e /proc/self/fd/57 && exit 1 || exit 0\"", ProcessWaitForExit);
    ::close(57);
    ::close(inheritable);
    ASSERT_TRUE(process.has_value());
    EXPECT_EQ(process->ExitCode(), 0);
}

TEST(StartProcess, ProgramsNobodyWaitsForAreReaped)
{
    int processId = 0;
    {
        const auto process = StartProcess("true");
        ASSERT_TRUE(process.has_value());
        processId = process->ProcessId();
    }
    // A zombie still answers kill(pid, 0); a reaped process does not.
    bool reaped = false;
    for (int attempt = 0; attempt < 500 && !reaped; ++attempt) {
        reaped = ::kill(processId, 0) != 0 && errno == ESRCH;
        if (!reaped)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_TRUE(reaped);
}

}  // namespace
}  // namespace utils
