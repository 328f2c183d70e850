#pragma once

// Owns an open POSIX file descriptor. Closing on destruction keeps errno, so a failure reported
// by the caller is not overwritten by the cleanup.
class FileDescriptor {
public:
    explicit FileDescriptor(int descriptor = -1) : m_descriptor(descriptor) {}
    ~FileDescriptor();
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    int Get() const { return m_descriptor; }
    bool IsOpen() const { return m_descriptor >= 0; }

    // Takes over another descriptor, closing the one held so far.
    void Reset(int descriptor);

    // Closes now and reports whether the system accepted it (a deferred write error shows here).
    bool Close();

private:
    int m_descriptor;
};
