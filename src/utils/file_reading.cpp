#include "utils/file_reading.h"

#include "utils/file_descriptor.h"
#include "utils/regular_file.h"

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace utils {

namespace {

constexpr std::size_t kReadChunk = 1 << 20;

// Reads to the end of the file; the file may be longer or shorter than its status said.
bool ReadToEnd(int descriptor, std::string& content, std::int64_t sizeLimit)
{
    std::size_t length = 0;
    for (;;) {
        if (length == content.size())
            content.resize(length + kReadChunk);
        const ssize_t count = ::read(descriptor, content.data() + length, content.size() - length);
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0)
            return false;
        if (count == 0)
            break;
        length += static_cast<std::size_t>(count);
        if (static_cast<std::int64_t>(length) > sizeLimit) {
            errno = EFBIG;
            return false;
        }
    }
    content.resize(length);
    return true;
}

}  // namespace

std::optional<std::string> ReadWholeFile(const std::string& path, FileMode mode, std::int64_t sizeLimit)
{
    const FileDescriptor file = OpenRegularFileForReading(path);
    if (!file.IsOpen())
        return std::nullopt;
    struct stat status {};
    if (::fstat(file.Get(), &status) != 0)
        return std::nullopt;
    if (status.st_size > sizeLimit) {
        errno = EFBIG;
        return std::nullopt;
    }
    std::string content;
    // One byte more than the status says, so that a file that has grown is noticed.
    content.resize(static_cast<std::size_t>(status.st_size) + 1);
    if (!ReadToEnd(file.Get(), content, sizeLimit))
        return std::nullopt;
    if (mode == FileMode::Text)
        content.resize(ConvertCrLfToLf(content.data(), content.size()));
    return content;
}

std::size_t ConvertCrLfToLf(char* bytes, std::size_t length)
{
    std::size_t kept = 0;
    for (std::size_t index = 0; index < length; ++index) {
        const bool crBeforeLf = bytes[index] == '\r' && index + 1 < length && bytes[index + 1] == '\n';
        if (!crBeforeLf)
            bytes[kept++] = bytes[index];
    }
    return kept;
}

}  // namespace utils
