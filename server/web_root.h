#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace torvel {

// The directory the maintenance service serves. Clients name it "/var/www/html"; the server maps
// that name to the configured directory and refuses every path that leaves it once links are resolved.
class WebRoot {
public:
    static constexpr const char* kClientName = "/var/www/html";

    explicit WebRoot(const std::filesystem::path& directory);

    const std::filesystem::path& Directory() const { return m_directory; }

    // The page to read; empty when it does not exist. Throws ProtocolError for a path outside.
    std::optional<std::filesystem::path> PageToRead(const std::string& clientPath) const;

    // Where to store a page: an existing regular file, or a new one in an existing directory.
    // Throws ProtocolError for a path outside or one that cannot hold a page.
    std::filesystem::path PageToWrite(const std::string& clientPath) const;

private:
    std::filesystem::path MapClientPath(const std::string& clientPath) const;
    bool Inside(const std::filesystem::path& resolved) const;

    std::filesystem::path m_directory;
};

}  // namespace torvel
