#include "platform/headless/memory_profile_store.h"

namespace platform::headless {

std::optional<std::string> MemoryProfileStore::ReadString(const std::string& section, const std::string& key)
{
    auto found = m_values->find({section, key});
    if (found == m_values->end())
        return std::nullopt;
    return found->second;
}

std::optional<int> MemoryProfileStore::ReadInteger(const std::string& section, const std::string& key)
{
    auto text = ReadString(section, key);
    return text ? ParseProfileInteger(*text) : std::nullopt;
}

bool MemoryProfileStore::WriteString(const std::string& section, const std::string& key, const std::string& value)
{
    (*m_values)[{section, key}] = value;
    return true;
}

bool MemoryProfileStore::WriteInteger(const std::string& section, const std::string& key, int value)
{
    return WriteString(section, key, std::to_string(value));
}

}  // namespace platform::headless
