#pragma once

#include <filesystem>

namespace torvel {

// Replaces `target` with a copy of `source` in one step (a new file renamed over the old one), so a
// failed copy never leaves half a page behind. An existing page keeps its permissions.
void StorePage(const std::filesystem::path& source, const std::filesystem::path& target);

}  // namespace torvel
