#include "app/data_directory.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace app {

namespace {

std::string WithoutTrailingSlash(std::string path)
{
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}

// An installed program lives in <prefix>/bin and finds its data in <prefix>/share/quillwright.
std::string InstalledDataDirectory()
{
    std::error_code error;
    const auto program = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error)
        return {};
    const auto candidate = program.parent_path().parent_path() / "share" / "quillwright";
    if (!std::filesystem::is_directory(candidate, error))
        return {};
    return candidate.string();
}

}  // namespace

std::string DataDirectory()
{
    const char* home = std::getenv("QUILLWRIGHT_HOME");
    if (home != nullptr && *home != '\0')
        return WithoutTrailingSlash(home);
    const std::string installed = InstalledDataDirectory();
    if (!installed.empty())
        return installed;
    return WithoutTrailingSlash(QUILLWRIGHT_SOURCE_DIR);
}

}  // namespace app
