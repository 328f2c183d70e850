#pragma once

#include <string>

// A directory of the fuzzer process, made once and removed when the process ends.
class FuzzScratchDirectory {
public:
    FuzzScratchDirectory();
    ~FuzzScratchDirectory();
    FuzzScratchDirectory(const FuzzScratchDirectory&) = delete;
    FuzzScratchDirectory& operator=(const FuzzScratchDirectory&) = delete;

    const std::string& Path() const { return path_; }
    // Writes a file below the directory, creating its directories; returns its path.
    std::string Write(const std::string& relativePath, const std::string& content) const;

private:
    std::string path_;
};

// The program's data directory in the source tree.
std::string SourceTemplateDirectory();
