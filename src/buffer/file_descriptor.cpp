#include "buffer/file_descriptor.h"

#include <cerrno>
#include <unistd.h>

FileDescriptor::~FileDescriptor()
{
    Reset(-1);
}

void FileDescriptor::Reset(int descriptor)
{
    if (IsOpen()) {
        const int savedErrno = errno;
        ::close(m_descriptor);
        errno = savedErrno;
    }
    m_descriptor = descriptor;
}

bool FileDescriptor::Close()
{
    const int descriptor = m_descriptor;
    m_descriptor = -1;
    return ::close(descriptor) == 0;
}
