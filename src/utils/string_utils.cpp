#include "utils/string_utils.h"

#include "utils/byte_search.h"

#include <algorithm>
#include <sstream>

namespace utils {

namespace {

constexpr std::string_view kDirectorySeparators = "\\/";

// Classification is plain ASCII whatever locale the program runs in.
bool IsAsciiLetter(char character)
{
    return (character >= 'a' && character <= 'z') || (character >= 'A' && character <= 'Z');
}

bool IsAsciiDigit(char character)
{
    return character >= '0' && character <= '9';
}

bool SameCharacter(char first, char second, Case comparison)
{
    if (comparison == Case::Sensitive)
        return first == second;
    return AsciiUpper(first) == AsciiUpper(second);
}

bool SameText(std::string_view first, std::string_view second, Case comparison)
{
    if (first.size() != second.size())
        return false;
    return std::equal(first.begin(), first.end(), second.begin(),
                      [comparison](char a, char b) { return SameCharacter(a, b, comparison); });
}

}  // namespace

bool IsIdentifierStart(char character)
{
    return IsAsciiLetter(character) || character == '_';
}

bool IsIdentifierCharacter(char character)
{
    return IsAsciiLetter(character) || IsAsciiDigit(character) || character == '_';
}

std::string FileExtension(const std::string& path)
{
    const std::size_t dot = path.rfind('.');
    if (dot == std::string::npos)
        return {};
    return path.substr(dot + 1);
}

std::string FileName(const std::string& path, Extension extension)
{
    const std::size_t separator = path.find_last_of(kDirectorySeparators);
    std::string name = separator == std::string::npos ? path : path.substr(separator + 1);
    if (extension == Extension::Keep)
        return name;
    const std::size_t dot = name.rfind('.');
    if (dot != std::string::npos)
        name.erase(dot);
    return name;
}

std::string DirectoryPart(const std::string& path)
{
    const std::size_t separator = path.find_last_of(kDirectorySeparators);
    if (separator == std::string::npos)
        return {};
    return path.substr(0, separator);
}

std::string Translate(std::string text, std::string_view from, std::string_view to)
{
    for (char& character : text) {
        const std::size_t index = from.find(character);
        if (index != std::string_view::npos && index < to.size())
            character = to[index];
    }
    return text;
}

bool StartsWithCharacter(std::string_view text, char character, Case comparison)
{
    return !text.empty() && SameCharacter(text.front(), character, comparison);
}

bool EndsWithCharacter(std::string_view text, char character, Case comparison)
{
    return !text.empty() && SameCharacter(text.back(), character, comparison);
}

bool StartsWith(std::string_view text, std::string_view prefix, Case comparison)
{
    return text.size() >= prefix.size() && SameText(text.substr(0, prefix.size()), prefix, comparison);
}

bool EndsWith(std::string_view text, std::string_view suffix, Case comparison)
{
    return text.size() >= suffix.size() &&
           SameText(text.substr(text.size() - suffix.size()), suffix, comparison);
}

std::string RemovePrefix(const std::string& text, std::string_view prefix, Case comparison)
{
    if (!StartsWith(text, prefix, comparison))
        return text;
    return text.substr(prefix.size());
}

std::string RemoveSuffix(const std::string& text, std::string_view suffix, Case comparison)
{
    if (!EndsWith(text, suffix, comparison))
        return text;
    return text.substr(0, text.size() - suffix.size());
}

std::string RemoveTrailingCharacter(const std::string& text, char character, Case comparison)
{
    if (!EndsWithCharacter(text, character, comparison))
        return text;
    return text.substr(0, text.size() - 1);
}

std::string Trim(const std::string& text, std::string_view set)
{
    const std::size_t first = text.find_first_not_of(set);
    if (first == std::string::npos)
        return {};
    const std::size_t last = text.find_last_not_of(set);
    return text.substr(first, last - first + 1);
}

std::string CollapseWhitespace(const std::string& text, std::string_view set)
{
    std::string result;
    std::size_t wordStart = text.find_first_not_of(set);
    while (wordStart != std::string::npos) {
        const std::size_t wordEnd = std::min(text.find_first_of(set, wordStart), text.size());
        if (!result.empty())
            result += ' ';
        result.append(text, wordStart, wordEnd - wordStart);
        wordStart = text.find_first_not_of(set, wordEnd);
    }
    return result;
}

std::string ToLowerCase(std::string text)
{
    for (char& character : text)
        character = AsciiLower(character);
    return text;
}

std::string ToUpperCase(std::string text)
{
    for (char& character : text)
        character = AsciiUpper(character);
    return text;
}

bool EqualIgnoringCase(std::string_view first, std::string_view second)
{
    return SameText(first, second, Case::Insensitive);
}

std::size_t Find(std::string_view text, std::string_view pattern, std::size_t start, Case comparison)
{
    return SearchBytes(text, pattern, start, comparison);
}

std::string ReplaceAll(std::string text, std::string_view pattern, std::string_view replacement,
                       Case comparison)
{
    if (pattern.empty())
        return text;
    std::string result;
    std::size_t copied = 0;
    for (std::size_t found = Find(text, pattern, 0, comparison); found != std::string::npos;
         found = Find(text, pattern, copied, comparison)) {
        result.append(text, copied, found - copied);
        result.append(replacement);
        copied = found + pattern.size();
    }
    result.append(text, copied, std::string::npos);
    return result;
}

int LineBreakLength(char first, char second)
{
    if ((first == '\r' && second == '\n') || (first == '\n' && second == '\r'))
        return 2;
    if (first == '\r' || first == '\n')
        return 1;
    return 0;
}

int LineBreakLengthAt(std::string_view text, std::size_t index)
{
    if (index >= text.size())
        return 0;
    const char next = index + 1 < text.size() ? text[index + 1] : '\0';
    return LineBreakLength(text[index], next);
}

std::string ReadLine(std::istream& stream)
{
    std::string line;
    std::getline(stream, line);
    std::erase(line, '\r');
    return line;
}

std::vector<std::string> SplitFields(std::string_view text, char separator)
{
    std::vector<std::string> fields;
    if (text.empty())
        return fields;
    std::string field;
    bool insideQuotes = false;
    for (std::size_t index = 0; index < text.size(); ++index) {
        const char character = text[index];
        if (character == '"') {
            const bool doubledOutside = !insideQuotes && index + 1 < text.size() && text[index + 1] == '"';
            if (doubledOutside) {
                field += '"';
                ++index;
            } else {
                insideQuotes = !insideQuotes;
            }
        } else if (character == separator && !insideQuotes) {
            fields.push_back(std::move(field));
            field.clear();
        } else {
            field += character;
        }
    }
    fields.push_back(std::move(field));
    return fields;
}

std::string Field(std::string_view text, std::size_t index, char separator)
{
    std::vector<std::string> fields = SplitFields(text, separator);
    if (index >= fields.size())
        return {};
    return std::move(fields[index]);
}

std::string ToDecimalText(std::int64_t number)
{
    std::ostringstream stream;
    stream << number;
    return stream.str();
}

std::int64_t FromDecimalText(const std::string& text)
{
    std::istringstream stream(text);
    std::int64_t number = 0;
    if (!(stream >> number))
        return 0;
    return number;
}

}  // namespace utils
