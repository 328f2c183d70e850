#pragma once

// An open POSIX file descriptor, closed when the object goes away.

#include <cstddef>
#include <utility>

namespace utils {

// Closing on destruction or Reset keeps errno, so a failure the owner is about to report is not
// overwritten by the cleanup.
class FileDescriptor {
public:
    explicit FileDescriptor(int descriptor = -1) : descriptor(descriptor) {}
    FileDescriptor(FileDescriptor&& other) noexcept : descriptor(std::exchange(other.descriptor, -1)) {}
    FileDescriptor& operator=(FileDescriptor&& other) noexcept;
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor();

    bool IsOpen() const { return descriptor >= 0; }
    int Get() const { return descriptor; }
    // Closes the descriptor held so far and takes over another one (or none).
    void Reset(int replacement = -1);
    // Closes now; false when closing reports an error (for written files: the data may be lost).
    bool Close();

private:
    int descriptor;
};

// Writes all bytes, continuing after partial writes and interruptions; false (errno set) on error.
bool WriteAll(int descriptor, const char* bytes, std::size_t count);
// Copies everything source still has to read to target; false (errno set) on error.
bool CopyAll(int source, int target);

}  // namespace utils
