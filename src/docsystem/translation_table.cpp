#include "docsystem/translation_table.h"

#include <algorithm>
#include <array>
#include <vector>

namespace {

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

    const TableEntry* LongestMatch(std::string_view text) const
    {
        for (const TableEntry* entry : entries_[static_cast<unsigned char>(text.front())]) {
            if (text.starts_with(entry->first))
                return entry;
        }
        return nullptr;
    }

private:
    std::array<std::vector<const TableEntry*>, 256> entries_;
};

}  // namespace

void ApplyTranslationTable(std::string& text, const DocumentationJob& job)
{
    if (job.settings.translationTable.empty())
        return;
    const KeysByFirstByte keys(job.settings.translationTable);
    std::string result;
    result.reserve(text.size());
    const std::string_view source(text);
    for (std::size_t position = 0; position < source.size();) {
        if (const TableEntry* entry = keys.LongestMatch(source.substr(position))) {
            result += entry->second;
            position += entry->first.size();
        } else {
            result += source[position++];
        }
    }
    text = std::move(result);
}
