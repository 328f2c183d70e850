#include "latex_log.h"

#include <fstream>
#include <sstream>

namespace torvel {

std::string ReadWholeFile(const std::filesystem::path& path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream contents;
    contents << file.rdbuf();
    return contents.str();
}

bool LogShowsErrors(const std::string& logText)
{
    return logText.starts_with("!") || logText.find("\n!") != std::string::npos;
}

}  // namespace torvel
