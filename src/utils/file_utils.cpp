#include "utils/file_utils.h"

#include "utils/error_reporting.h"
#include "utils/file_descriptor.h"
#include "utils/file_reading.h"
#include "utils/regular_file.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <limits>
#include <memory>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace utils {

namespace {

constexpr mode_t kAllWritePermissions = S_IWUSR | S_IWGRP | S_IWOTH;
constexpr mode_t kPermissionBits = 07777;

bool ReadStatus(const std::string& path, struct stat& status)
{
    return ::stat(path.c_str(), &status) == 0;
}

std::string WithoutTrailingSlashes(std::string directory)
{
    while (directory.size() > 1 && directory.back() == '/')
        directory.pop_back();
    return directory;
}

bool SameFile(const struct stat& first, const struct stat& second)
{
    return first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

}  // namespace

std::string TemporaryDirectory()
{
    const char* environment = std::getenv("TMPDIR");
    const std::string directory =
        WithoutTrailingSlashes(environment != nullptr && *environment != '\0' ? environment : "/tmp");
    const std::string failure = "Failed to determine temporary directory:\n";
    struct stat status {};
    if (!ReadStatus(directory, status))
        ThrowSystemErrorWithPrefix(failure);
    if (!S_ISDIR(status.st_mode))
        ThrowSystemErrorWithPrefix(failure, ENOTDIR);
    return directory;
}

std::string CreateTemporaryFile(const std::string& directory)
{
    const std::string base = directory.empty() ? TemporaryDirectory() : WithoutTrailingSlashes(directory);
    std::string name = base + (base.ends_with('/') ? "" : "/") + "$XXXXXX";
    const FileDescriptor file(::mkstemp(name.data()));
    if (!file.IsOpen())
        ThrowSystemErrorWithPrefix("Failed to create temporary file in\n" + base + "\n");
    return name;
}

std::string CanonicalPath(const std::string& path)
{
    const std::unique_ptr<char, decltype(&std::free)> resolved(::realpath(path.c_str(), nullptr), &std::free);
    if (!resolved)
        ThrowSystemErrorWithPrefix("Failed to create DOS alias for\n" + path + "\n");
    return resolved.get();
}

bool IsAbsolutePath(const std::string& path)
{
    return !path.empty() && path.front() == '/';
}

bool IsReadOnly(const std::string& path)
{
    struct stat status {};
    return ReadStatus(path, status) && (status.st_mode & S_IWUSR) == 0;
}

bool SetReadOnly(const std::string& path, ReadOnlyFlag flag)
{
    struct stat status {};
    if (!ReadStatus(path, status))
        return false;
    mode_t permissions = status.st_mode & kPermissionBits;
    if (flag == ReadOnlyFlag::Set)
        permissions &= ~kAllWritePermissions;
    else
        permissions |= S_IWUSR;
    return ::chmod(path.c_str(), permissions) == 0;
}

std::int64_t FileSize(const std::string& path)
{
    struct stat status {};
    if (!ReadStatus(path, status))
        return -1;
    return status.st_size;
}

std::int64_t ModificationTime(const std::string& path)
{
    struct stat status {};
    if (!ReadStatus(path, status))
        return -1;
    return status.st_mtime;
}

bool FileExists(const std::string& path)
{
    struct stat status {};
    return ReadStatus(path, status);
}

void CopyFile(const std::string& source, const std::string& target, ExistingTarget existing)
{
    const std::string failure = "Failed to copy file\n" + source + "\n to \n" + target + "\n";
    const FileDescriptor input = OpenRegularFileForReadingOrThrow(source, failure);
    struct stat sourceStatus {};
    if (::fstat(input.Get(), &sourceStatus) != 0)
        ThrowSystemErrorWithPrefix(failure);
    struct stat targetStatus {};
    const bool targetExisted = ReadStatus(target, targetStatus);
    // Opening a file onto itself for writing would empty it before it is read.
    if (targetExisted && SameFile(sourceStatus, targetStatus))
        ThrowSystemErrorWithPrefix(failure, EINVAL);
    const int exclusive = existing == ExistingTarget::Fail ? O_EXCL : 0;
    FileDescriptor output(::open(target.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | exclusive,
                                 sourceStatus.st_mode & kPermissionBits));
    if (!output.IsOpen())
        ThrowSystemErrorWithPrefix(failure);
    if (CopyAll(input.Get(), output.Get()) && output.Close())
        return;
    const int errorNumber = errno;
    output.Close();
    // A half-written copy that this call created is worse than none.
    if (!targetExisted)
        ::unlink(target.c_str());
    ThrowSystemErrorWithPrefix(failure, errorNumber);
}

std::string ReadTextFile(const std::string& path)
{
    std::optional<std::string> content =
        ReadWholeFile(path, FileMode::Text, std::numeric_limits<std::int64_t>::max());
    if (content)
        return std::move(*content);
    if (const std::string reason = NotRegularFileReason(path); !reason.empty())
        throw std::runtime_error("failed to open " + path + "\n" + reason);
    throw std::runtime_error("failed to open " + path);
}

}  // namespace utils
