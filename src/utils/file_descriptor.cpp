#include "utils/file_descriptor.h"

#include <cerrno>
#include <unistd.h>
#include <vector>

namespace utils {

FileDescriptor::~FileDescriptor()
{
    Reset();
}

FileDescriptor& FileDescriptor::operator=(FileDescriptor&& other) noexcept
{
    if (this != &other)
        Reset(std::exchange(other.descriptor, -1));
    return *this;
}

void FileDescriptor::Reset(int replacement)
{
    if (descriptor >= 0) {
        const int savedErrno = errno;
        ::close(descriptor);
        errno = savedErrno;
    }
    descriptor = replacement;
}

bool FileDescriptor::Close()
{
    if (descriptor < 0)
        return true;
    const int result = ::close(descriptor);
    descriptor = -1;
    return result == 0;
}

bool WriteAll(int descriptor, const char* bytes, std::size_t count)
{
    while (count > 0) {
        const ssize_t written = ::write(descriptor, bytes, count);
        if (written < 0 && errno == EINTR)
            continue;
        if (written < 0)
            return false;
        bytes += written;
        count -= static_cast<std::size_t>(written);
    }
    return true;
}

bool CopyAll(int source, int target)
{
    constexpr std::size_t chunkSize = 1 << 16;
    std::vector<char> chunk(chunkSize);
    for (;;) {
        const ssize_t count = ::read(source, chunk.data(), chunk.size());
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0)
            return false;
        if (count == 0)
            return true;
        if (!WriteAll(target, chunk.data(), static_cast<std::size_t>(count)))
            return false;
    }
}

}  // namespace utils
