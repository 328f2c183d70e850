#include "utils/regular_file.h"

#include "utils/error_reporting.h"

#include <cerrno>
#include <stdexcept>
#include <fcntl.h>
#include <sys/stat.h>

namespace utils {

namespace {

// Sets errno for a refused kind and returns false; true for a regular file.
bool AcceptRegular(mode_t mode)
{
    if (S_ISREG(mode))
        return true;
    errno = S_ISDIR(mode) ? EISDIR : EINVAL;
    return false;
}

}  // namespace

std::string_view NonRegularFileKind(mode_t mode)
{
    switch (mode & S_IFMT) {
    case S_IFREG:
        return {};
    case S_IFDIR:
        return "a directory";
    case S_IFIFO:
        return "a named pipe (FIFO)";
    case S_IFSOCK:
        return "a socket";
    case S_IFCHR:
        return "a character device";
    case S_IFBLK:
        return "a block device";
    default:
        return "an unknown kind of file";
    }
}

std::string NotRegularFileReason(const std::string& path)
{
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0)
        return {};
    const std::string_view kind = NonRegularFileKind(status.st_mode);
    if (kind.empty())
        return {};
    return "It is " + std::string(kind) + ", not a regular file.";
}

FileDescriptor OpenRegularFileForReading(const std::string& path)
{
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0 || !AcceptRegular(status.st_mode))
        return FileDescriptor();
    // Non-blocking in case the path became a named pipe since the check; reading a regular file
    // ignores the flag.
    FileDescriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (file.IsOpen() && (::fstat(file.Get(), &status) != 0 || !AcceptRegular(status.st_mode)))
        file.Reset();
    return file;
}

FileDescriptor OpenRegularFileForReadingOrThrow(const std::string& path, const std::string& messagePrefix)
{
    FileDescriptor file = OpenRegularFileForReading(path);
    if (file.IsOpen())
        return file;
    const int errorNumber = errno;
    if (const std::string reason = NotRegularFileReason(path); !reason.empty())
        throw std::runtime_error(messagePrefix + reason);
    ThrowSystemErrorWithPrefix(messagePrefix, errorNumber);
}

}  // namespace utils
