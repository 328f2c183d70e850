#include "page_store.h"

#include "utils/file_descriptor.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <string>

namespace torvel {
namespace {

[[noreturn]] void Fail(const std::filesystem::path& target, const std::string& what)
{
    throw std::runtime_error("cannot store " + target.filename().string() + ": " + what + ": " + std::strerror(errno));
}

void CopyBytes(int from, int to, const std::filesystem::path& target)
{
    std::array<char, 65536> chunk{};
    for (;;) {
        const ssize_t count = ::read(from, chunk.data(), chunk.size());
        if (count == 0)
            return;
        if (count < 0) {
            if (errno == EINTR)
                continue;
            Fail(target, "read");
        }
        for (ssize_t done = 0; done < count;) {
            const ssize_t written = ::write(to, chunk.data() + done, static_cast<std::size_t>(count - done));
            if (written < 0 && errno != EINTR)
                Fail(target, "write");
            done += written < 0 ? 0 : written;
        }
    }
}

}  // namespace

void StorePage(const std::filesystem::path& source, const std::filesystem::path& target)
{
    utils::FileDescriptor input(::open(source.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW));
    if (!input.IsOpen())
        Fail(target, "open upload");
    std::string temporary = target.parent_path().string();
    temporary.append("/.").append(target.filename().string()).append(".XXXXXX");
    utils::FileDescriptor output(::mkostemp(temporary.data(), O_CLOEXEC));
    if (!output.IsOpen())
        Fail(target, "create");
    try {
        CopyBytes(input.Get(), output.Get(), target);
        struct stat existing {};
        const mode_t mode = ::stat(target.c_str(), &existing) == 0 ? (existing.st_mode & 07777) : 0644;
        if (::fchmod(output.Get(), mode) != 0 || ::fsync(output.Get()) != 0)
            Fail(target, "finish");
        if (::rename(temporary.c_str(), target.c_str()) != 0)
            Fail(target, "replace");
    } catch (...) {
        ::unlink(temporary.c_str());
        throw;
    }
}

}  // namespace torvel
