#include "buffer/text_file_writer.h"

#include "buffer/extended_attributes.h"
#include "buffer/temporary_file.h"
#include "utils/file_descriptor.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr std::size_t WriteBufferSize = 1 << 20;

// Collects small pieces into large writes; a line per system call would dominate the save time.
class BufferedWriter {
public:
    explicit BufferedWriter(int descriptor) : m_descriptor(descriptor) { m_buffer.reserve(WriteBufferSize); }

    bool Append(std::string_view bytes)
    {
        if (m_buffer.size() + bytes.size() > WriteBufferSize && !Flush()) {
            return false;
        }
        if (bytes.size() >= WriteBufferSize) {
            return WriteAll(bytes);
        }
        m_buffer.insert(m_buffer.end(), bytes.begin(), bytes.end());
        return true;
    }

    bool Flush()
    {
        const bool written = WriteAll({m_buffer.data(), m_buffer.size()});
        m_buffer.clear();
        return written;
    }

private:
    bool WriteAll(std::string_view bytes)
    {
        while (!bytes.empty()) {
            const ssize_t count = ::write(m_descriptor, bytes.data(), bytes.size());
            if (count < 0) {
                if (errno == EINTR) {
                    continue;
                }
                return false;
            }
            bytes.remove_prefix(static_cast<std::size_t>(count));
        }
        return true;
    }

    int m_descriptor;
    std::vector<char> m_buffer;
};

// The file a save really replaces: the target of a symbolic link, the path itself otherwise.
std::string ResolveTarget(const std::string& path)
{
    struct stat attributes {};
    if (::lstat(path.c_str(), &attributes) != 0 || !S_ISLNK(attributes.st_mode)) {
        return path;
    }
    char resolved[PATH_MAX];
    if (::realpath(path.c_str(), resolved) == nullptr) {
        return path;
    }
    return resolved;
}

std::string DirectoryOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string FileNameOf(const std::string& path)
{
    return path.substr(path.rfind('/') + 1);
}

// The replacing file takes over the permissions of the old one, and its owner where the system lets
// us (a superuser saving someone else's file must not leave it owned by the superuser). An ordinary
// user cannot give a file away; the file then belongs to the user who saved it, as every file
// replaced through a rename does.
bool TakeOverAttributes(int descriptor, const struct stat& existing)
{
    if (::fchmod(descriptor, existing.st_mode & 07777) != 0) {
        return false;
    }
    struct stat created {};
    if (::fstat(descriptor, &created) != 0) {
        return false;
    }
    if (created.st_uid == existing.st_uid && created.st_gid == existing.st_gid) {
        return true;
    }
    if (::fchown(descriptor, existing.st_uid, existing.st_gid) == 0 || errno == EPERM) {
        // fchown may clear the set-id bits; give them back.
        return ::fchmod(descriptor, existing.st_mode & 07777) == 0;
    }
    return false;
}

bool WriteLines(int descriptor, const LineTable& lines, std::string_view lineEnd)
{
    BufferedWriter writer(descriptor);
    const std::int32_t lastLine = lines.Count() - 1;
    for (std::int32_t line = 0; line <= lastLine; ++line) {
        if (!writer.Append(lines[line].Text())) {
            return false;
        }
        if (line < lastLine && !writer.Append(lineEnd)) {
            return false;
        }
    }
    return writer.Flush();
}

// Makes the name of a file just created in directory durable. A file system that cannot flush
// a directory (EINVAL) has nothing more to give.
bool SyncDirectory(const std::string& directory)
{
    const utils::FileDescriptor handle(::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    return handle.IsOpen() && (::fsync(handle.Get()) == 0 || errno == EINVAL);
}

// The usual save: a new file beside the target, renamed over it once it is complete.
bool ReplaceByRename(const std::string& target, const struct stat* existing, const LineTable& lines,
                     std::string_view lineEnd)
{
    TemporaryFile temporary(DirectoryOf(target), "QWR");
    if (!temporary.IsOpen()) {
        return false;
    }
    if (existing != nullptr && (!TakeOverAttributes(temporary.Descriptor(), *existing) ||
                                !CopyExtendedAttributes(target, temporary.Descriptor()))) {
        return false;
    }
    if (!WriteLines(temporary.Descriptor(), lines, lineEnd)) {
        return false;
    }
    if (!temporary.SyncAndClose()) {
        return false;
    }
    return temporary.RenameTo(target);
}

// A file with other names (hard links) must stay the same file, so the text is written into it;
// until that has reached the disk, a copy of the old content waits beside it.
WriteResult RewriteInPlace(const std::string& target, const struct stat& existing, const LineTable& lines,
                           std::string_view lineEnd)
{
    utils::FileDescriptor file(::open(target.c_str(), O_RDWR | O_CLOEXEC));
    if (!file.IsOpen()) {
        return {};
    }
    const std::string directory = DirectoryOf(target);
    TemporaryFile backup(directory, FileNameOf(target) + ".backup-", "");
    if (!backup.IsOpen() || !TakeOverAttributes(backup.Descriptor(), existing) ||
        !utils::CopyAll(file.Get(), backup.Descriptor()) || !backup.SyncAndClose() || !SyncDirectory(directory)) {
        return {};
    }
    const bool written = ::ftruncate(file.Get(), 0) == 0 && ::lseek(file.Get(), 0, SEEK_SET) == 0 &&
                         WriteLines(file.Get(), lines, lineEnd) && ::fsync(file.Get()) == 0 && file.Close();
    if (!written) {
        backup.Keep();
        return {false, backup.Path()};
    }
    return {true, {}};
}

}  // namespace

WriteResult WriteTextFile(const std::string& path, const LineTable& lines, std::string_view lineEnd)
{
    const std::string target = ResolveTarget(path);
    struct stat existing {};
    const bool replacesFile = ::stat(target.c_str(), &existing) == 0;
    if (replacesFile && (existing.st_mode & S_IWUSR) == 0) {
        errno = EACCES;
        return {};
    }
    if (replacesFile && S_ISREG(existing.st_mode) && existing.st_nlink > 1) {
        return RewriteInPlace(target, existing, lines, lineEnd);
    }
    return {ReplaceByRename(target, replacesFile ? &existing : nullptr, lines, lineEnd), {}};
}
