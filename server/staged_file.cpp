#include "staged_file.h"

#include "sha256.h"
#include "utils/file_descriptor.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <system_error>

namespace torvel {
namespace {

[[noreturn]] void Fail(const std::string& step)
{
    throw std::system_error(errno, std::generic_category(), step);
}

}  // namespace

StagedFile::StagedFile(const std::filesystem::path& source, const std::filesystem::path& directory, const std::string& name,
                       mode_t mode)
{
    const utils::FileDescriptor input(::open(source.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW));
    if (!input.IsOpen())
        Fail("open " + source.filename().string());
    std::string temporary = (directory / ("." + name + ".XXXXXX")).string();
    utils::FileDescriptor output(::mkostemp(temporary.data(), O_CLOEXEC));
    if (!output.IsOpen())
        Fail("create");
    m_temporary = temporary;
    try {
        Copy(input.Get(), output.Get(), mode);
        if (!output.Close())
            Fail("write");
    } catch (...) {
        ::unlink(m_temporary.c_str());
        throw;
    }
}

void StagedFile::Copy(int input, int output, mode_t mode)
{
    torvel::Sha256 digest;
    std::array<char, 65536> chunk{};
    for (;;) {
        const ssize_t count = ::read(input, chunk.data(), chunk.size());
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0)
            Fail("read");
        if (count == 0)
            break;
        if (!utils::WriteAll(output, chunk.data(), static_cast<std::size_t>(count)))
            Fail("write");
        digest.Add(std::string_view(chunk.data(), static_cast<std::size_t>(count)));
        m_size += static_cast<std::uint64_t>(count);
    }
    if (::fchmod(output, mode) != 0)
        Fail("set permissions");
    if (::fsync(output) != 0)
        Fail("write");
    m_sha256 = digest.HexDigest();
}

StagedFile::~StagedFile()
{
    if (!m_placed && !m_temporary.empty())
        ::unlink(m_temporary.c_str());
}

void StagedFile::Replace(const std::filesystem::path& target)
{
    if (::rename(m_temporary.c_str(), target.c_str()) != 0)
        Fail("replace");
    m_placed = true;
}

bool StagedFile::PlaceIfNew(const std::filesystem::path& target)
{
    if (::link(m_temporary.c_str(), target.c_str()) != 0) {
        if (errno == EEXIST)
            return false;
        Fail("name");
    }
    ::unlink(m_temporary.c_str());
    m_placed = true;
    return true;
}

}  // namespace torvel
