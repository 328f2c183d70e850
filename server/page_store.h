#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace torvel {

class PageHistory;

struct StoredPage {
    std::uint64_t size = 0;
    std::string sha256;
    std::optional<std::filesystem::path> keptVersion;  // the page it replaced
    std::string historyProblem;                        // old versions that could not be removed
};

// Replaces `target` with a copy of `source` in one step (a new file renamed over the old one), after
// keeping the page it replaces in `history`. A store that fails leaves the page and its history as
// they were. An existing page keeps its permissions.
StoredPage StorePage(const std::filesystem::path& source, const std::filesystem::path& target, const PageHistory& history);

}  // namespace torvel
