#include "docsystem/translation_table.h"

#include <algorithm>
#include <array>
#include <vector>

namespace {

// A key that ends inside a UTF-8 sequence would cut the character apart.
bool EndsCharacter(std::string_view text, std::size_t end, TextEncoding encoding)
{
    return end == text.size() || utf8::CharacterStart(text, static_cast<int>(end), encoding) == static_cast<int>(end);
}

using TableEntry = std::map<std::string, std::string>::value_type;

// The entries by the first byte of their key, longest key first, so that the first key that
// matches at a position is the longest one.
class KeysByFirstByte {
public:
    explicit KeysByFirstByte(const std::map<std::string, std::string>& table)
    {
        for (const TableEntry& entry : table) {
            // An empty key would match everywhere without using up any text.
            if (!entry.first.empty())
                entries_[static_cast<unsigned char>(entry.first.front())].push_back(&entry);
        }
        for (auto& candidates : entries_) {
            std::stable_sort(candidates.begin(), candidates.end(), [](const TableEntry* first, const TableEntry* second) {
                return first->first.size() > second->first.size();
            });
        }
    }

    // The longest key that matches at position and ends where a character ends.
    const TableEntry* LongestMatch(std::string_view text, std::size_t position, TextEncoding encoding) const
    {
        const std::string_view rest = text.substr(position);
        for (const TableEntry* entry : entries_[static_cast<unsigned char>(rest.front())]) {
            if (rest.starts_with(entry->first) && EndsCharacter(text, position + entry->first.size(), encoding))
                return entry;
        }
        return nullptr;
    }

private:
    std::array<std::vector<const TableEntry*>, 256> entries_;
};

}  // namespace

void ApplyTranslationTable(std::string& text, TextEncoding encoding, const DocumentationJob& job)
{
    if (job.settings.translationTable.empty())
        return;
    const KeysByFirstByte keys(job.settings.translationTable);
    std::string result;
    result.reserve(text.size());
    const std::string_view source(text);
    // Unmatched text is passed over a whole character at a time, so that keys are only looked
    // for where a character starts.
    for (std::size_t position = 0; position < source.size();) {
        if (const TableEntry* entry = keys.LongestMatch(source, position, encoding)) {
            result += entry->second;
            position += entry->first.size();
        } else {
            const auto length = static_cast<std::size_t>(utf8::CharacterLength(source, static_cast<int>(position), encoding));
            result += source.substr(position, length);
            position += length;
        }
    }
    text = std::move(result);
}
