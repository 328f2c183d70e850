#pragma once

// An open POSIX file descriptor, closed when the object goes away.

#include <cstddef>

namespace utils {

class FileDescriptor {
public:
    explicit FileDescriptor(int descriptor = -1) : descriptor(descriptor) {}
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor();

    bool IsOpen() const { return descriptor >= 0; }
    int Get() const { return descriptor; }
    // Closes now; false when closing reports an error (for written files: the data may be lost).
    bool Close();

private:
    int descriptor;
};

// Writes all bytes, continuing after partial writes and interruptions; false (errno set) on error.
bool WriteAll(int descriptor, const char* bytes, std::size_t count);

}  // namespace utils
