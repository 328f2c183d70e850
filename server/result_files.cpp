#include "result_files.h"

#include <fnmatch.h>

#include <algorithm>
#include <set>

namespace torvel {
namespace {

bool IsRealDirectory(const std::filesystem::path& path)
{
    std::error_code error;
    return std::filesystem::is_directory(std::filesystem::symlink_status(path, error));
}

// The client splits "NAME:SIZE" at colons and double quotes, so such names cannot be announced.
bool Announceable(const std::string& name)
{
    return name.find_first_of(":\"\n\r") == std::string::npos;
}

std::vector<ResultFile> MatchingFiles(const std::filesystem::path& directory, const std::string& pattern)
{
    std::vector<ResultFile> files;
    std::error_code error;
    for (auto entry = std::filesystem::directory_iterator(directory, error);
         !error && entry != std::filesystem::directory_iterator(); entry.increment(error)) {
        std::error_code statusError;
        if (!entry->is_regular_file(statusError) || entry->is_symlink(statusError))
            continue;
        const std::string name = entry->path().filename().string();
        if (!Announceable(name) || ::fnmatch(pattern.c_str(), name.c_str(), FNM_PERIOD) != 0)
            continue;
        const auto size = entry->file_size(statusError);
        if (!statusError)
            files.push_back({name, entry->path(), size});
    }
    std::sort(files.begin(), files.end(), [](const ResultFile& a, const ResultFile& b) { return a.name < b.name; });
    return files;
}

}  // namespace

std::vector<ResultFile> FindResultFiles(const std::filesystem::path& work, const std::vector<ResultRequest>& requests)
{
    std::vector<ResultFile> results;
    std::set<std::filesystem::path> taken;
    for (const auto& request : requests) {
        const auto slash = request.pattern.find('/');
        const std::filesystem::path directory = slash == std::string::npos ? work : work / request.pattern.substr(0, slash);
        if (!IsRealDirectory(directory))
            continue;
        const std::string pattern = slash == std::string::npos ? request.pattern : request.pattern.substr(slash + 1);
        for (auto& file : MatchingFiles(directory, pattern)) {
            if (taken.insert(file.path).second)
                results.push_back(std::move(file));
        }
    }
    return results;
}

}  // namespace torvel
