#include "app/mime_associations.h"

#include "utils/file_utils.h"
#include "utils/string_utils.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <unistd.h>

namespace app {

namespace {

std::string Environment(const char* name)
{
    const char* value = std::getenv(name);
    return value == nullptr ? std::string() : std::string(value);
}

// $HOME/fallback when the variable is unset or empty.
std::string HomeDirectory(const char* variable, const std::string& fallback)
{
    const std::string value = Environment(variable);
    if (!value.empty())
        return value;
    const std::string home = Environment("HOME");
    return home.empty() ? std::string() : home + "/" + fallback;
}

// The absolute directories of a colon-separated list, or of the default list when it is unset.
std::vector<std::string> DirectoryList(const char* variable, const std::string& fallback)
{
    std::string list = Environment(variable);
    if (list.empty())
        list = fallback;
    std::vector<std::string> directories;
    for (const std::string& directory : utils::SplitFields(list, ':')) {
        if (utils::IsAbsolutePath(directory))
            directories.push_back(directory);
    }
    return directories;
}

std::vector<std::string> WithHomeFirst(const std::string& home, std::vector<std::string> system)
{
    if (utils::IsAbsolutePath(home))
        system.insert(system.begin(), home);
    return system;
}

bool IsExecutableFile(const std::string& path)
{
    std::error_code error;
    return std::filesystem::is_regular_file(path, error) && ::access(path.c_str(), X_OK) == 0;
}

struct GlobMatch {
    int weight = -1;
    std::string mimeType;
};

// A line of globs2 ("weight:type:glob[:flags]") or of globs ("type:glob", weight 50) that names
// "*.extension"; the glob matches without regard to case unless its flags hold "cs".
std::optional<GlobMatch> MatchGlobLine(const std::string& line, const std::string& extension, bool withWeight)
{
    if (line.empty() || line.front() == '#')
        return std::nullopt;
    const std::vector<std::string> fields = utils::SplitFields(line, ':');
    const std::size_t globField = withWeight ? 2 : 1;
    if (fields.size() <= globField)
        return std::nullopt;
    const bool caseSensitive = fields.size() > globField + 1 && fields[globField + 1].find("cs") != std::string::npos;
    const std::string& glob = fields[globField];
    const std::string wanted = "*." + extension;
    if (caseSensitive ? glob != wanted : !utils::EqualIgnoringCase(glob, wanted))
        return std::nullopt;
    return GlobMatch{withWeight ? static_cast<int>(utils::FromDecimalText(fields[0])) : 50, fields[globField - 1]};
}

// The MIME type named by the best match in one file; weight -1 when none.
GlobMatch BestMatchInFile(const std::string& path, const std::string& extension, bool withWeight)
{
    GlobMatch best;
    std::ifstream file(path);
    for (std::string line; std::getline(file, line);) {
        const auto match = MatchGlobLine(utils::RemoveTrailingCharacter(line, '\r'), extension, withWeight);
        if (match && match->weight > best.weight)
            best = *match;
    }
    return best;
}

// The desktop environments of $XDG_CURRENT_DESKTOP, lower-cased, each of which may have its own list.
std::vector<std::string> CurrentDesktops()
{
    std::vector<std::string> desktops;
    for (const std::string& desktop : utils::SplitFields(Environment("XDG_CURRENT_DESKTOP"), ':')) {
        if (!desktop.empty())
            desktops.push_back(utils::ToLowerCase(desktop));
    }
    return desktops;
}

// The mimeapps.list files in the order in which they take precedence.
std::vector<std::string> MimeAppsLists()
{
    std::vector<std::string> directories = XdgConfigDirectories();
    for (const std::string& dataDirectory : XdgDataDirectories())
        directories.push_back(dataDirectory + "/applications");
    std::vector<std::string> lists;
    for (const std::string& directory : directories) {
        for (const std::string& desktop : CurrentDesktops())
            lists.push_back(directory + "/" + desktop + "-mimeapps.list");
        lists.push_back(directory + "/mimeapps.list");
    }
    return lists;
}

// The value of `key` in the group `group` of a desktop-entry style file; nothing when absent.
std::optional<std::string> GroupValue(const std::string& path, const std::string& group, const std::string& key)
{
    std::ifstream file(path);
    bool inGroup = false;
    for (std::string line; std::getline(file, line);) {
        line = utils::Trim(line);
        if (line.starts_with('[')) {
            inGroup = line == "[" + group + "]";
            continue;
        }
        const std::size_t equals = line.find('=');
        if (inGroup && equals != std::string::npos && utils::Trim(line.substr(0, equals)) == key)
            return utils::Trim(line.substr(equals + 1));
    }
    return std::nullopt;
}

// The program of a desktop entry file's Exec line; empty when it runs nothing usable.
std::string ProgramOfEntryFile(const std::string& path)
{
    const auto exec = GroupValue(path, "Desktop Entry", "Exec");
    if (!exec)
        return {};
    for (const std::string& field : utils::SplitFields(*exec, ' ')) {
        if (!field.empty())
            return ResolveProgram(field);
    }
    return {};
}

// The program of an installed desktop entry; empty when it is not installed or runs nothing usable.
std::string DesktopEntryProgram(const std::string& desktopId)
{
    if (desktopId.empty() || desktopId.find('/') != std::string::npos)
        return {};
    for (const std::string& dataDirectory : XdgDataDirectories()) {
        const std::string path = dataDirectory + "/applications/" + desktopId;
        // The first installed entry of that name is the one that counts, usable or not.
        if (GroupValue(path, "Desktop Entry", "Exec"))
            return ProgramOfEntryFile(path);
    }
    return {};
}

bool SameFile(const std::string& first, const std::string& second)
{
    std::error_code error;
    return std::filesystem::equivalent(first, second, error) && !error;
}

}  // namespace

std::vector<std::string> XdgConfigDirectories()
{
    return WithHomeFirst(HomeDirectory("XDG_CONFIG_HOME", ".config"), DirectoryList("XDG_CONFIG_DIRS", "/etc/xdg"));
}

std::vector<std::string> XdgDataDirectories()
{
    return WithHomeFirst(HomeDirectory("XDG_DATA_HOME", ".local/share"),
                         DirectoryList("XDG_DATA_DIRS", "/usr/local/share:/usr/share"));
}

std::string MimeTypeOfExtension(const std::string& extension)
{
    if (extension.empty())
        return {};
    GlobMatch best;
    for (const std::string& directory : XdgDataDirectories()) {
        GlobMatch match = BestMatchInFile(directory + "/mime/globs2", extension, true);
        if (match.weight < 0)
            match = BestMatchInFile(directory + "/mime/globs", extension, false);
        // An earlier directory wins a tie.
        if (match.weight > best.weight)
            best = match;
    }
    return best.mimeType;
}

std::string FindApplicationForMimeType(const std::string& mimeType)
{
    if (mimeType.empty())
        return {};
    for (const std::string& list : MimeAppsLists()) {
        const auto entries = GroupValue(list, "Default Applications", mimeType);
        if (!entries)
            continue;
        for (const std::string& desktopId : utils::SplitFields(*entries, ';')) {
            const std::string program = DesktopEntryProgram(utils::Trim(desktopId));
            if (!program.empty())
                return program;
        }
    }
    return {};
}

std::string FindAssociatedApplication(const std::string& extension)
{
    return FindApplicationForMimeType(MimeTypeOfExtension(extension));
}

std::string DesktopEntryIconName(const std::string& program)
{
    const std::string resolved = ResolveProgram(program);
    if (resolved.empty())
        return {};
    for (const std::string& dataDirectory : XdgDataDirectories()) {
        std::error_code error;
        for (const auto& entry : std::filesystem::directory_iterator(dataDirectory + "/applications", error)) {
            const std::string path = entry.path().string();
            if (!path.ends_with(".desktop") || !SameFile(ProgramOfEntryFile(path), resolved))
                continue;
            const auto icon = GroupValue(path, "Desktop Entry", "Icon");
            if (icon && !icon->empty())
                return *icon;
        }
    }
    return {};
}

std::string ResolveProgram(const std::string& name)
{
    if (name.empty())
        return {};
    if (name.find('/') != std::string::npos)
        return IsExecutableFile(name) ? name : std::string();
    for (const std::string& directory : utils::SplitFields(Environment("PATH"), ':')) {
        const std::string candidate = (directory.empty() ? std::string(".") : directory) + "/" + name;
        if (IsExecutableFile(candidate))
            return candidate;
    }
    return {};
}

}  // namespace app
