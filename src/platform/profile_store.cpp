#include "platform/profile_store.h"

#include "platform/ini_profile_file.h"

#include <algorithm>
#include <charconv>
#include <iostream>

namespace platform {
namespace {

IniProfileFile LoadedFile(const std::string& path)
{
    IniProfileFile file{std::filesystem::path(path)};
    file.Load();
    return file;
}

}  // namespace

std::optional<int> ParseProfileInteger(const std::string& text)
{
    int value = 0;
    const char* end = text.data() + text.size();
    auto [stop, error] = std::from_chars(text.data(), end, value);
    if (error != std::errc() || stop != end)
        return std::nullopt;
    return value;
}

std::string GroupOfSection(const std::string& section)
{
    std::string group = section;
    std::replace(group.begin(), group.end(), '\\', '/');
    return group;
}

IniProfileStore::IniProfileStore(const std::string& registryKey, const std::string& application)
{
    // Beside the shared settings file, under the key and application names asked for.
    const std::filesystem::path configurationHome = IniProfileFile::DefaultPath().parent_path().parent_path();
    m_path = (configurationHome / registryKey / (application + ".conf")).string();
}

std::optional<std::string> IniProfileStore::ReadString(const std::string& section, const std::string& key)
{
    try {
        return LoadedFile(m_path).FindString(GroupOfSection(section), key);
    } catch (const std::exception& error) {
        // Reading has no failure answer: the caller gets its default, the user this note.
        std::cerr << error.what() << '\n';
        return std::nullopt;
    }
}

std::optional<int> IniProfileStore::ReadInteger(const std::string& section, const std::string& key)
{
    auto text = ReadString(section, key);
    return text ? ParseProfileInteger(*text) : std::nullopt;
}

bool IniProfileStore::WriteString(const std::string& section, const std::string& key, const std::string& value)
{
    try {
        IniProfileFile file = LoadedFile(m_path);
        file.SetString(GroupOfSection(section), key, value);
        file.Save();
        return true;
    } catch (const std::exception& error) {
        std::cerr << error.what() << '\n';
        return false;
    }
}

bool IniProfileStore::WriteInteger(const std::string& section, const std::string& key, int value)
{
    return WriteString(section, key, std::to_string(value));
}

}  // namespace platform
