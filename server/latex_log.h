#pragma once

#include <filesystem>
#include <string>

namespace torvel {

// True when the log holds an error line (one that begins with "!").
bool LogShowsErrors(const std::string& logText);

std::string ReadWholeFile(const std::filesystem::path& path);

}  // namespace torvel
