#include "platform/ini_profile_file.h"

#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <stdexcept>
#include <system_error>

namespace platform {

namespace {

const char* const blanks = " \t\r";

std::string Trimmed(const std::string& text)
{
    const auto first = text.find_first_not_of(blanks);
    if (first == std::string::npos)
        return {};
    const auto last = text.find_last_not_of(blanks);
    return text.substr(first, last - first + 1);
}

// Values that would not survive a plain "key=value" line (surrounding blanks, line breaks, quotes,
// comment or list characters) are written in double quotes with backslash escapes.
bool NeedsQuotes(const std::string& value)
{
    if (value.empty())
        return false;
    if (value.front() == ' ' || value.front() == '\t' || value.back() == ' ' || value.back() == '\t')
        return true;
    return value.find_first_of("\"\\;#,\r\n\t") != std::string::npos;
}

std::string EncodedValue(const std::string& value)
{
    if (!NeedsQuotes(value))
        return value;
    std::string encoded = "\"";
    for (const char character : value) {
        switch (character) {
        case '"': encoded += "\\\""; break;
        case '\\': encoded += "\\\\"; break;
        case '\n': encoded += "\\n"; break;
        case '\r': encoded += "\\r"; break;
        case '\t': encoded += "\\t"; break;
        default: encoded += character;
        }
    }
    return encoded + "\"";
}

std::string DecodedQuotedValue(const std::string& text)
{
    std::string value;
    for (std::size_t index = 1; index < text.size(); ++index) {
        const char character = text[index];
        if (character == '"')
            break;
        if (character != '\\' || index + 1 == text.size()) {
            value += character;
            continue;
        }
        const char escaped = text[++index];
        switch (escaped) {
        case 'n': value += '\n'; break;
        case 'r': value += '\r'; break;
        case 't': value += '\t'; break;
        default: value += escaped;
        }
    }
    return value;
}

std::string DecodedValue(const std::string& text)
{
    const std::string trimmed = Trimmed(text);
    if (!trimmed.empty() && trimmed.front() == '"')
        return DecodedQuotedValue(trimmed);
    return trimmed;
}

std::string ErrorText(int code)
{
    return std::generic_category().message(code);
}

}  // namespace

IniProfileFile::IniProfileFile(std::filesystem::path path) : m_path(std::move(path)) {}

std::filesystem::path IniProfileFile::DefaultPath()
{
    const char* configHome = std::getenv("XDG_CONFIG_HOME");
    std::filesystem::path base;
    if (configHome != nullptr && *configHome == '/') {
        base = configHome;
    } else {
        const char* home = std::getenv("HOME");
        base = std::filesystem::path(home != nullptr ? home : "") / ".config";
    }
    return base / "TVL" / "Quillwright.conf";
}

void IniProfileFile::Load()
{
    m_groups.clear();
    std::ifstream input(m_path, std::ios::binary);
    if (!input) {
        const int error = errno;
        if (!std::filesystem::exists(m_path))
            return;
        throw std::runtime_error("Cannot read the settings file\n" + m_path.string() + "\n" + ErrorText(error));
    }
    std::optional<std::string> currentGroup;
    std::string line;
    while (std::getline(input, line))
        ParseLine(line, currentGroup);
    if (input.bad())
        throw std::runtime_error("Cannot read the settings file\n" + m_path.string());
}

void IniProfileFile::ParseLine(const std::string& rawLine, std::optional<std::string>& currentGroup)
{
    const std::string line = Trimmed(rawLine);
    if (line.empty() || line.front() == ';' || line.front() == '#')
        return;
    if (line.front() == '[' && line.back() == ']') {
        currentGroup = line.substr(1, line.size() - 2);
        GroupNamed(*currentGroup);
        return;
    }
    const auto equals = line.find('=');
    if (equals == std::string::npos || !currentGroup)
        return;
    const std::string key = Trimmed(line.substr(0, equals));
    if (key.empty())
        return;
    const std::string value = DecodedValue(line.substr(equals + 1));
    SetString(*currentGroup, key, value);
}

void IniProfileFile::Save() const
{
    std::error_code ignored;
    std::filesystem::create_directories(m_path.parent_path(), ignored);
    const std::filesystem::path temporary = m_path.string() + ".new";
    {
        std::ofstream output(temporary, std::ios::binary | std::ios::trunc);
        if (!output)
            throw std::runtime_error("Cannot write the settings file\n" + temporary.string() + "\n" + ErrorText(errno));
        for (const Group& group : m_groups) {
            output << '[' << group.name << "]\n";
            for (const Entry& entry : group.entries)
                output << entry.key << '=' << EncodedValue(entry.value) << '\n';
            output << '\n';
        }
        output.flush();
        if (!output)
            throw std::runtime_error("Cannot write the settings file\n" + temporary.string());
    }
    std::error_code renameError;
    std::filesystem::rename(temporary, m_path, renameError);
    if (renameError) {
        std::filesystem::remove(temporary, ignored);
        throw std::runtime_error("Cannot write the settings file\n" + m_path.string() + "\n" + renameError.message());
    }
}

std::optional<std::string> IniProfileFile::FindString(const std::string& group, const std::string& key) const
{
    const Group* found = FindGroup(group);
    if (found == nullptr)
        return std::nullopt;
    for (const Entry& entry : found->entries) {
        if (entry.key == key)
            return entry.value;
    }
    return std::nullopt;
}

std::string IniProfileFile::GetString(const std::string& group, const std::string& key, const std::string& fallback) const
{
    return FindString(group, key).value_or(fallback);
}

int IniProfileFile::GetInteger(const std::string& group, const std::string& key, int fallback) const
{
    const auto text = FindString(group, key);
    if (!text || text->empty())
        return fallback;
    int value = 0;
    const char* end = text->data() + text->size();
    const auto [stop, error] = std::from_chars(text->data(), end, value);
    if (error != std::errc() || stop != end)
        return fallback;
    return value;
}

void IniProfileFile::SetString(const std::string& group, const std::string& key, const std::string& value)
{
    Group& target = GroupNamed(group);
    for (Entry& entry : target.entries) {
        if (entry.key == key) {
            entry.value = value;
            return;
        }
    }
    target.entries.push_back({key, value});
}

void IniProfileFile::SetInteger(const std::string& group, const std::string& key, int value)
{
    SetString(group, key, std::to_string(value));
}

IniProfileFile::Group& IniProfileFile::GroupNamed(const std::string& name)
{
    for (Group& group : m_groups) {
        if (group.name == name)
            return group;
    }
    m_groups.push_back({name, {}});
    return m_groups.back();
}

const IniProfileFile::Group* IniProfileFile::FindGroup(const std::string& name) const
{
    for (const Group& group : m_groups) {
        if (group.name == name)
            return &group;
    }
    return nullptr;
}

}  // namespace platform
