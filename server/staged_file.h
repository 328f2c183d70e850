#pragma once

#include <sys/types.h>

#include <cstdint>
#include <filesystem>
#include <string>

namespace torvel {

// A copy of a file, written under a hidden temporary name in the directory where it is to appear
// and flushed to disk, so that it appears whole or not at all. Removed again unless it was placed.
// Failures throw std::system_error naming the step.
class StagedFile {
public:
    StagedFile(const std::filesystem::path& source, const std::filesystem::path& directory, const std::string& name,
               mode_t mode);
    StagedFile(const StagedFile&) = delete;
    StagedFile& operator=(const StagedFile&) = delete;
    ~StagedFile();

    std::uint64_t Size() const { return m_size; }
    const std::string& Sha256() const { return m_sha256; }

    // Puts the file in place of `target`, replacing what is there in one step.
    void Replace(const std::filesystem::path& target);
    // Gives the file the name `target` unless a file has that name already; false then.
    bool PlaceIfNew(const std::filesystem::path& target);

private:
    void Copy(int input, int output, mode_t mode);

    std::filesystem::path m_temporary;
    std::uint64_t m_size = 0;
    std::string m_sha256;
    bool m_placed = false;
};

}  // namespace torvel
