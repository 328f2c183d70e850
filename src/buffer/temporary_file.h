#pragma once

#include "utils/file_descriptor.h"

#include <string>

// A new, uniquely named file in a directory, removed again unless it is renamed into place or kept.
class TemporaryFile {
public:
    // Creates "<directory>/<prefix><8 hexadecimal digits><suffix>" with the permissions new files
    // get (the process's file-creation mask applies). Check IsOpen; errno holds the reason on failure.
    TemporaryFile(const std::string& directory, const std::string& prefix, const std::string& suffix = ".tmp");
    ~TemporaryFile();
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    bool IsOpen() const { return m_file.IsOpen(); }
    int Descriptor() const { return m_file.Get(); }
    const std::string& Path() const { return m_path; }

    // Flushes the contents to the disk and closes the file.
    bool SyncAndClose();
    // Replaces target with this file; afterwards nothing is left to remove.
    bool RenameTo(const std::string& target);
    // Leaves the file where it is when this object goes away.
    void Keep() { m_removeWhenDone = false; }

private:
    utils::FileDescriptor m_file;
    std::string m_path;
    bool m_removeWhenDone = false;
};
