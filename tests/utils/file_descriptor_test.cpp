#include "utils/file_descriptor.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace {

bool IsOpenDescriptor(int descriptor)
{
    return ::fcntl(descriptor, F_GETFD) != -1;
}

int OpenDevNull()
{
    return ::open("/dev/null", O_RDONLY | O_CLOEXEC);
}

TEST(FileDescriptor, ClosesWhatItOwnsExactlyOnceWhereverOwnershipMoves)
{
    const int raw = OpenDevNull();
    ASSERT_GE(raw, 0);
    utils::FileDescriptor first(raw);
    utils::FileDescriptor second(std::move(first));
    EXPECT_FALSE(first.IsOpen());
    EXPECT_EQ(second.Get(), raw);

    utils::FileDescriptor third;
    third = std::move(second);
    EXPECT_FALSE(second.IsOpen());
    EXPECT_TRUE(IsOpenDescriptor(raw));
    third.Reset();
    EXPECT_FALSE(IsOpenDescriptor(raw));
}

TEST(FileDescriptor, ResetKeepsTheErrorTheOwnerIsAboutToReport)
{
    utils::FileDescriptor file(OpenDevNull());
    const int replacement = OpenDevNull();
    errno = ENOSPC;
    file.Reset(replacement);
    EXPECT_EQ(errno, ENOSPC);
    EXPECT_EQ(file.Get(), replacement);
    EXPECT_TRUE(file.Close());
    EXPECT_FALSE(IsOpenDescriptor(replacement));
}

}  // namespace
