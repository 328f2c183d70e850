#include "buffer/extended_attributes.h"

#include <cerrno>
#include <string_view>
#include <sys/xattr.h>
#include <vector>

namespace {

bool IsUnsupported(int error)
{
    return error == ENOTSUP || error == EOPNOTSUPP;
}

bool MayBeLeftOut(int error)
{
    return IsUnsupported(error) || error == EPERM || error == EACCES;
}

// Runs query(buffer, size), which answers like listxattr and getxattr, until the buffer holds the
// whole answer: the attribute may grow between asking for its size and reading it.
template <typename Query>
bool ReadWhole(Query query, std::vector<char>& bytes)
{
    for (;;) {
        const ssize_t size = query(nullptr, 0);
        if (size < 0) {
            return false;
        }
        bytes.resize(static_cast<std::size_t>(size));
        const ssize_t read = query(bytes.data(), bytes.size());
        if (read >= 0) {
            bytes.resize(static_cast<std::size_t>(read));
            return true;
        }
        if (errno != ERANGE) {
            return false;
        }
    }
}

bool CopyAttribute(const std::string& sourcePath, const char* name, int target)
{
    std::vector<char> value;
    const bool read = ReadWhole(
        [&](char* buffer, std::size_t size) { return ::getxattr(sourcePath.c_str(), name, buffer, size); }, value);
    if (!read) {
        return errno == ENODATA;  // removed since the list was read
    }
    return ::fsetxattr(target, name, value.data(), value.size(), 0) == 0 || MayBeLeftOut(errno);
}

}  // namespace

bool CopyExtendedAttributes(const std::string& sourcePath, int target)
{
    std::vector<char> names;
    const bool listed = ReadWhole(
        [&](char* buffer, std::size_t size) { return ::listxattr(sourcePath.c_str(), buffer, size); }, names);
    if (!listed) {
        return IsUnsupported(errno);
    }
    // The names follow each other, each ended by a NUL byte.
    for (std::size_t start = 0; start < names.size();) {
        const char* name = names.data() + start;
        if (!CopyAttribute(sourcePath, name, target)) {
            return false;
        }
        start += std::string_view(name).size() + 1;
    }
    return true;
}
