#pragma once

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

namespace torvel {

class WebRoot;

// Earlier versions of the pages under the web root, kept as DIRECTORY/.versions/PATH/NAME.TIMESTAMP:
// PATH is the page's directory below the web root, TIMESTAMP the moment the version was replaced
// (UTC, as 20261206T143743.123456Z, so names sort by age). DIRECTORY lies outside the web root, so
// kept versions are never published.
class PageHistory {
public:
    // An empty `directory` means the directory that holds the web root.
    PageHistory(const std::filesystem::path& directory, unsigned depth, const WebRoot& webRoot);

    // Creates the versions directory; throws std::runtime_error when it lies inside the web root or
    // cannot be made.
    void CheckUsable() const;

    const std::filesystem::path& Directory() const { return m_directory; }
    unsigned Depth() const { return m_depth; }

    // Copies the page (a path inside the web root) into the history; returns the kept copy.
    std::filesystem::path Keep(const std::filesystem::path& page) const;
    // Removes a copy Keep made, for a store that did not happen after all.
    void Forget(const std::filesystem::path& kept) const;
    // The timestamps of the page's kept versions, oldest first.
    std::vector<std::string> Versions(const std::filesystem::path& page) const;
    std::filesystem::path VersionPath(const std::filesystem::path& page, const std::string& timestamp) const;
    // Removes all but the newest Depth() versions; returns what went wrong, or nothing.
    std::string Prune(const std::filesystem::path& page) const;

private:
    std::filesystem::path DirectoryOf(const std::filesystem::path& page) const;

    std::filesystem::path m_directory;  // .../.versions
    std::filesystem::path m_webRoot;
    unsigned m_depth;
};

// "20261206T143743.123456Z"
std::string VersionTimestamp(std::chrono::system_clock::time_point time);
bool IsVersionTimestamp(const std::string& text);

}  // namespace torvel
