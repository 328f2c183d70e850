#include "page_history.h"

#include "staged_file.h"
#include "web_root.h"

#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <stdexcept>

namespace torvel {
namespace {

constexpr mode_t kVersionMode = 0640;

bool IsInside(const std::filesystem::path& path, const std::filesystem::path& directory)
{
    const auto relative = path.lexically_relative(directory);
    return !relative.empty() && *relative.begin() != "..";
}

}  // namespace

std::string VersionTimestamp(std::chrono::system_clock::time_point time)
{
    const auto microseconds = std::chrono::duration_cast<std::chrono::microseconds>(time.time_since_epoch()).count();
    const time_t seconds = static_cast<time_t>(microseconds / 1000000);
    tm parts{};
    ::gmtime_r(&seconds, &parts);
    char text[64];
    std::snprintf(text, sizeof text, "%04d%02d%02dT%02d%02d%02d.%06dZ", parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday,
                  parts.tm_hour, parts.tm_min, parts.tm_sec, static_cast<int>(microseconds % 1000000));
    return text;
}

bool IsVersionTimestamp(const std::string& text)
{
    if (text.size() != 23)
        return false;
    for (std::size_t index = 0; index < text.size(); ++index) {
        const char expected = index == 8 ? 'T' : index == 15 ? '.' : index == 22 ? 'Z' : '0';
        const bool digit = std::isdigit(static_cast<unsigned char>(text[index])) != 0;
        if (expected == '0' ? !digit : text[index] != expected)
            return false;
    }
    return true;
}

PageHistory::PageHistory(const std::filesystem::path& directory, unsigned depth, const WebRoot& webRoot)
    : m_webRoot(webRoot.Directory()), m_depth(depth)
{
    const std::filesystem::path base = directory.empty() ? m_webRoot.parent_path() : directory;
    m_directory = (std::filesystem::absolute(base) / ".versions").lexically_normal();
}

void PageHistory::CheckUsable() const
{
    std::error_code error;
    const std::filesystem::path resolved = std::filesystem::weakly_canonical(m_directory, error);
    if (error)
        throw std::runtime_error("cannot use the page history " + m_directory.string() + ": " + error.message());
    if (IsInside(resolved, m_webRoot))
        throw std::runtime_error("page history " + m_directory.string() + " lies inside the web root " +
                                 m_webRoot.string() + "; choose a directory outside it with --page-history");
    std::filesystem::create_directories(m_directory, error);
    if (error || !std::filesystem::is_directory(m_directory))
        throw std::runtime_error("cannot create the page history " + m_directory.string() + ": " + error.message());
}

std::filesystem::path PageHistory::DirectoryOf(const std::filesystem::path& page) const
{
    return (m_directory / page.parent_path().lexically_relative(m_webRoot)).lexically_normal();
}

std::filesystem::path PageHistory::VersionPath(const std::filesystem::path& page, const std::string& timestamp) const
{
    return DirectoryOf(page) / (page.filename().string() + "." + timestamp);
}

std::filesystem::path PageHistory::Keep(const std::filesystem::path& page) const
{
    try {
        const std::filesystem::path directory = DirectoryOf(page);
        std::filesystem::create_directories(directory);
        StagedFile copy(page, directory, page.filename().string(), kVersionMode);
        // Two stores within one microsecond still keep two versions.
        for (auto time = std::chrono::system_clock::now();; time += std::chrono::microseconds(1)) {
            const std::filesystem::path kept = VersionPath(page, VersionTimestamp(time));
            if (copy.PlaceIfNew(kept))
                return kept;
        }
    } catch (const std::exception& failure) {
        throw std::runtime_error(std::string("cannot keep the previous version: ") + failure.what());
    }
}

void PageHistory::Forget(const std::filesystem::path& kept) const
{
    ::unlink(kept.c_str());
}

std::vector<std::string> PageHistory::Versions(const std::filesystem::path& page) const
{
    const std::string prefix = page.filename().string() + ".";
    std::vector<std::string> timestamps;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(DirectoryOf(page), error)) {
        const std::string name = entry.path().filename().string();
        if (name.starts_with(prefix) && IsVersionTimestamp(name.substr(prefix.size())))
            timestamps.push_back(name.substr(prefix.size()));
    }
    std::sort(timestamps.begin(), timestamps.end());
    return timestamps;
}

std::string PageHistory::Prune(const std::filesystem::path& page) const
{
    const std::vector<std::string> timestamps = Versions(page);
    std::string problems;
    for (std::size_t index = 0; index + m_depth < timestamps.size(); ++index) {
        std::error_code error;
        std::filesystem::remove(VersionPath(page, timestamps[index]), error);
        if (error)
            problems.append(problems.empty() ? "" : "; ").append("cannot remove old version " + timestamps[index] + ": " + error.message());
    }
    return problems;
}

}  // namespace torvel
