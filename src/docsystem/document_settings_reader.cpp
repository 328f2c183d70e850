#include "docsystem/document_settings_reader.h"

#include "docsystem/document_path.h"
#include "utils/file_streams.h"
#include "utils/string_utils.h"

#include <glob.h>

#include <algorithm>
#include <string_view>
#include <utility>

namespace {

// A value runs from just after "%key " to the end of its line; nothing is trimmed.
struct SettingValue {
    std::size_t start = std::string::npos;
    std::string text;
};

std::string Pattern(std::string_view key)
{
    std::string pattern = "%";
    pattern.append(key).append(" ");
    return pattern;
}

SettingValue FindValue(const std::string& text, const std::string& pattern, std::size_t from)
{
    const std::size_t found = text.find(pattern, from);
    if (found == std::string::npos)
        return {};
    const std::size_t start = found + pattern.size();
    const std::size_t end = std::min(text.find_first_of("\r\n", start), text.size());
    return {start, text.substr(start, end - start)};
}

void ReadSingleValues(const std::string& text, DocumentSettings& settings)
{
    const std::pair<std::string_view, std::string*> singleValues[] = {
        {"cmdline", &settings.commandLine},   {"htmldir", &settings.htmlDirectory},
        {"stylesheet", &settings.styleSheet}, {"encoding", &settings.encoding},
        {"processor", &settings.processor},   {"language", &settings.language},
        {"footer", &settings.footer},
    };
    for (const auto& [key, field] : singleValues) {
        SettingValue value = FindValue(text, Pattern(key), 0);
        if (value.start != std::string::npos)
            *field = std::move(value.text);
    }
}

std::vector<std::string> ReadList(const std::string& text, std::string_view key)
{
    std::vector<std::string> values;
    const std::string pattern = Pattern(key);
    for (SettingValue value = FindValue(text, pattern, 0); value.start != std::string::npos;
         value = FindValue(text, pattern, value.start)) {
        values.push_back(std::move(value.text));
    }
    return values;
}

std::vector<std::string> MatchingPaths(const std::string& pattern)
{
    glob_t matches{};
    std::vector<std::string> paths;
    if (glob(pattern.c_str(), 0, nullptr, &matches) == 0)
        paths.assign(matches.gl_pathv, matches.gl_pathv + matches.gl_pathc);
    globfree(&matches);
    return paths;
}

// Entries with "*" are replaced by the paths they match, appended at the end of the list.
void ExpandWildcards(std::vector<std::string>& extraFiles)
{
    std::vector<std::string> kept;
    std::vector<std::string> matched;
    for (std::string& entry : extraFiles) {
        if (entry.find('*') == std::string::npos) {
            kept.push_back(std::move(entry));
            continue;
        }
        for (std::string& path : MatchingPaths(entry))
            matched.push_back(std::move(path));
    }
    kept.insert(kept.end(), std::make_move_iterator(matched.begin()), std::make_move_iterator(matched.end()));
    extraFiles = std::move(kept);
}

// Lines "key value": the key ends at the first blank, the value is everything after it. A byte
// order mark some editors put before UTF-8 text would otherwise become part of the first key.
void LoadTranslationTable(const std::string& path, std::map<std::string, std::string>& table)
{
    utils::sifstream stream(path);
    constexpr std::string_view byteOrderMark = "\xEF\xBB\xBF";
    bool firstLine = true;
    while (stream) {
        std::string line = utils::ReadLine(stream);
        if (std::exchange(firstLine, false) && line.starts_with(byteOrderMark))
            line.erase(0, byteOrderMark.size());
        const std::size_t blank = line.find(' ');
        if (blank != std::string::npos)
            table[line.substr(0, blank)] = line.substr(blank + 1);
    }
}

}  // namespace

void ReadDocumentSettings(const std::string& text, DocumentationJob& job)
{
    const std::string documentDirectory = utils::DirectoryPart(job.documentPath);
    ReadSingleValues(text, job.settings);
    const SettingValue translationTable = FindValue(text, Pattern("translationTable"), 0);

    for (const std::string& value : ReadList(text, "putfile"))
        job.extraFiles.push_back(DocumentFilePath(documentDirectory, value));
    for (std::string& value : ReadList(text, "headcmd"))
        job.settings.headCommands.push_back(std::move(value));
    ExpandWildcards(job.extraFiles);

    if (translationTable.text.empty())
        return;
    LoadTranslationTable(DocumentSettingPath(documentDirectory, translationTable.text), job.settings.translationTable);
}
