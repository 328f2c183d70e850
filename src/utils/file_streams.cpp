#include "utils/file_streams.h"

#include "utils/error_reporting.h"
#include "utils/file_descriptor.h"
#include "utils/regular_file.h"

#include <cerrno>
#include <fcntl.h>

namespace utils {

namespace {

// The reason a stream could not open path. The stream's own attempt normally leaves it in errno;
// otherwise a plain open without side effects (no creation, no truncation) asks the system.
int OpenFailureCause(const std::string& path, int accessMode)
{
    if (errno != 0)
        return errno;
    const FileDescriptor probe(::open(path.c_str(), accessMode | O_CLOEXEC));
    if (!probe.IsOpen())
        return errno;
    return EINVAL;  // the file opens, so the open mode itself was refused
}

}  // namespace

sofstream::sofstream(const std::string& path, std::ios_base::openmode mode)
{
    errno = 0;
    open(path, mode | std::ios_base::out);
    if (!is_open())
        ThrowSystemErrorWithPrefix("failed to create file\n" + path + "\n", OpenFailureCause(path, O_WRONLY));
}

sofstream::~sofstream() = default;

sifstream::sifstream(const std::string& path, std::ios_base::openmode mode)
{
    const std::string failure = "failed to open file\n" + path + "\n";
    // A stream on a named pipe would wait for a writer, one on a device would never end.
    OpenRegularFileForReadingOrThrow(path, failure);
    errno = 0;
    open(path, mode | std::ios_base::in);
    if (!is_open())
        ThrowSystemErrorWithPrefix(failure, OpenFailureCause(path, O_RDONLY));
}

sifstream::~sifstream() = default;

}  // namespace utils
