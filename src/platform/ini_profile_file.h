#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace platform {

// The settings file shared by the editor and the window-less mode: INI groups of "key=value" lines.
// Groups and keys keep the order in which they were first seen, so rewriting a file changes only the
// values that were set.
class IniProfileFile {
public:
    explicit IniProfileFile(std::filesystem::path path);

    // $XDG_CONFIG_HOME/TVL/Quillwright.conf, with ~/.config standing in for an unset XDG_CONFIG_HOME.
    static std::filesystem::path DefaultPath();

    const std::filesystem::path& Path() const { return m_path; }

    // Reads the file; a missing file gives no values. Throws std::runtime_error when the file exists
    // but cannot be read.
    void Load();

    // Writes all groups, creating the directory if needed; replaces the file only once the new
    // content is complete. Throws std::runtime_error on failure.
    void Save() const;

    std::optional<std::string> FindString(const std::string& group, const std::string& key) const;
    std::string GetString(const std::string& group, const std::string& key, const std::string& fallback) const;
    // A value that is not a whole decimal number gives the fallback.
    int GetInteger(const std::string& group, const std::string& key, int fallback) const;

    void SetString(const std::string& group, const std::string& key, const std::string& value);
    void SetInteger(const std::string& group, const std::string& key, int value);

private:
    struct Entry {
        std::string key;
        std::string value;
    };
    struct Group {
        std::string name;
        std::vector<Entry> entries;
    };

    Group& GroupNamed(const std::string& name);
    const Group* FindGroup(const std::string& name) const;
    void ParseLine(const std::string& line, std::optional<std::string>& currentGroup);

    std::filesystem::path m_path;
    std::vector<Group> m_groups;
};

}  // namespace platform
