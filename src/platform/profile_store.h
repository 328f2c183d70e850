#pragma once

#include <optional>
#include <string>

namespace platform {

// Persistent application settings: string and integer values by section and key. Sections are
// written with "\" between levels ("QuillEdit\Find"); a store keeps them as its medium needs.
class ProfileStore {
public:
    virtual ~ProfileStore() = default;
    virtual std::optional<std::string> ReadString(const std::string& section, const std::string& key) = 0;
    virtual std::optional<int> ReadInteger(const std::string& section, const std::string& key) = 0;
    // False when the value could not be stored.
    virtual bool WriteString(const std::string& section, const std::string& key, const std::string& value) = 0;
    virtual bool WriteInteger(const std::string& section, const std::string& key, int value) = 0;
};

// The settings file of an application under a registry key: $XDG_CONFIG_HOME/KEY/APPLICATION.conf,
// INI groups named like the sections with "/" between levels. Every read sees the file as it is
// now and every write goes to the file at once, so other processes share the values.
class IniProfileStore : public ProfileStore {
public:
    IniProfileStore(const std::string& registryKey, const std::string& application);
    std::optional<std::string> ReadString(const std::string& section, const std::string& key) override;
    std::optional<int> ReadInteger(const std::string& section, const std::string& key) override;
    bool WriteString(const std::string& section, const std::string& key, const std::string& value) override;
    bool WriteInteger(const std::string& section, const std::string& key, int value) override;
    const std::string& Path() const { return m_path; }

private:
    std::string m_path;
};

// A stored value read as a whole decimal integer; nothing when it is not one.
std::optional<int> ParseProfileInteger(const std::string& text);

// The INI group of a section: "\" between levels becomes "/".
std::string GroupOfSection(const std::string& section);

}  // namespace platform
