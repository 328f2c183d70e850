#include "buffer/temporary_file.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <random>
#include <unistd.h>

namespace {

std::string RandomHexNumber()
{
    thread_local std::mt19937 generator{std::random_device{}()};
    char digits[9];
    std::snprintf(digits, sizeof digits, "%08x", static_cast<unsigned>(generator()));
    return digits;
}

}  // namespace

TemporaryFile::TemporaryFile(const std::string& directory, const std::string& prefix, const std::string& suffix)
{
    constexpr int Attempts = 100;
    for (int attempt = 0; attempt < Attempts; ++attempt) {
        m_path = directory + "/" + prefix + RandomHexNumber() + suffix;
        const int descriptor = ::open(m_path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (descriptor >= 0) {
            m_file.Reset(descriptor);
            m_removeWhenDone = true;
            return;
        }
        if (errno != EEXIST) {
            return;
        }
    }
}

TemporaryFile::~TemporaryFile()
{
    if (m_removeWhenDone) {
        const int savedErrno = errno;
        ::unlink(m_path.c_str());
        errno = savedErrno;
    }
}

bool TemporaryFile::SyncAndClose()
{
    if (::fsync(m_file.Get()) != 0) {
        return false;
    }
    return m_file.Close();
}

bool TemporaryFile::RenameTo(const std::string& target)
{
    if (::rename(m_path.c_str(), target.c_str()) != 0) {
        return false;
    }
    m_removeWhenDone = false;
    return true;
}
