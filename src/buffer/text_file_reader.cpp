#include "buffer/text_file_reader.h"

#include "buffer/line_end_splitter.h"
#include "utils/regular_file.h"

#include <cerrno>
#include <fcntl.h>
#include <new>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

// Fills the buffer as far as the file allows; returns the byte count, or -1 with errno set.
ssize_t ReadBlock(int descriptor, char* buffer, std::size_t size)
{
    std::size_t filled = 0;
    while (filled < size) {
        const ssize_t count = ::read(descriptor, buffer + filled, size - filled);
        if (count == 0) {
            break;
        }
        if (count < 0) {
            if (errno == EINTR) {
                continue;
            }
            return -1;
        }
        filled += static_cast<std::size_t>(count);
    }
    return static_cast<ssize_t>(filled);
}

std::optional<LoadedFileFacts> ReadLines(int descriptor, LoadedFileFacts facts, LineEndingStyle style,
                                         LineTable& lines)
{
    std::vector<char> block(ReadBlockSize);
    ssize_t count = ReadBlock(descriptor, block.data(), block.size());
    if (count < 0) {
        return std::nullopt;
    }
    facts.style = style != LineEndingStyle::Automatic
                      ? style
                      : DetectLineEndingStyle({block.data(), static_cast<std::size_t>(count)});
    LineEndSplitter splitter(lines, LineEndText(facts.style));
    while (count > 0) {
        splitter.Feed({block.data(), static_cast<std::size_t>(count)});
        count = ReadBlock(descriptor, block.data(), block.size());
        if (count < 0) {
            return std::nullopt;
        }
    }
    splitter.Finish();
    return facts;
}

}  // namespace

LineEndingStyle DetectLineEndingStyle(std::string_view firstBlock)
{
    const std::size_t lineFeed = firstBlock.find('\n');
    if (lineFeed == std::string_view::npos) {
        return NativeLineEndingStyle;
    }
    if (lineFeed > 0 && firstBlock[lineFeed - 1] == '\r') {
        return LineEndingStyle::CrLf;
    }
    if (lineFeed + 1 < firstBlock.size() && firstBlock[lineFeed + 1] == '\r') {
        return LineEndingStyle::LfCr;
    }
    return LineEndingStyle::Lf;
}

std::optional<LoadedFileFacts> ReadTextFile(const std::string& path, LineEndingStyle style, LineTable& lines)
{
    const utils::FileDescriptor file = utils::OpenRegularFileForReading(path);
    if (!file.IsOpen()) {
        return std::nullopt;
    }
    struct stat attributes {};
    if (::fstat(file.Get(), &attributes) != 0) {
        return std::nullopt;
    }
    ::posix_fadvise(file.Get(), 0, 0, POSIX_FADV_SEQUENTIAL);

    LoadedFileFacts facts;
    facts.readOnly = (attributes.st_mode & S_IWUSR) == 0;
    try {
        return ReadLines(file.Get(), facts, style, lines);
    } catch (const std::length_error&) {
        errno = EFBIG;
    } catch (const std::bad_alloc&) {
        errno = ENOMEM;
    }
    return std::nullopt;
}
