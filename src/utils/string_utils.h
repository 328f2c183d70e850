#pragma once

// Free functions on byte strings: path pieces, prefix and suffix tests, trimming, the quote-aware
// field splitter, replace-all, case-insensitive comparison, line breaks and the text wrapper.
// Characters are single bytes; classification is plain ASCII.

#include "utils/utf8_characters.h"

#include <cstddef>
#include <cstdint>
#include <istream>
#include <string>
#include <string_view>
#include <vector>

namespace utils {

// Whether a comparison distinguishes upper and lower case.
enum class Case { Sensitive, Insensitive };

// Whether a file name keeps its extension.
enum class Extension { Keep, Remove };

// Blank, CR, LF and tab: the set used for trimming and word splitting.
inline constexpr std::string_view kWhitespace = " \r\n\t";

// A letter or "_".
bool IsIdentifierStart(char character);
// A letter, a digit or "_".
bool IsIdentifierCharacter(char character);

// The text after the last "."; empty when there is none (dots in directory names count).
std::string FileExtension(const std::string& path);
// The text after the last "\" or "/" (the whole path when there is none), optionally without
// its extension (cut at its last ".").
std::string FileName(const std::string& path, Extension extension = Extension::Keep);
// The text before the last "\" or "/", without it; empty when there is none.
std::string DirectoryPart(const std::string& path);

// Every character of text that occurs in from is replaced by the character at the same index in to.
std::string Translate(std::string text, std::string_view from, std::string_view to);

// Whether the first (last) character of text is character; false for an empty text.
bool StartsWithCharacter(std::string_view text, char character, Case comparison = Case::Sensitive);
bool EndsWithCharacter(std::string_view text, char character, Case comparison = Case::Sensitive);
// Whether text begins (ends) with prefix (suffix); false when text is shorter.
bool StartsWith(std::string_view text, std::string_view prefix, Case comparison = Case::Sensitive);
bool EndsWith(std::string_view text, std::string_view suffix, Case comparison = Case::Sensitive);
// text without the prefix (suffix) when it has it, else text unchanged.
std::string RemovePrefix(const std::string& text, std::string_view prefix, Case comparison = Case::Sensitive);
std::string RemoveSuffix(const std::string& text, std::string_view suffix, Case comparison = Case::Sensitive);
// text without its last character when that is character, else text unchanged.
std::string RemoveTrailingCharacter(const std::string& text, char character, Case comparison = Case::Sensitive);

// text without leading and trailing characters of set.
std::string Trim(const std::string& text, std::string_view set = kWhitespace);
// The runs of characters not in set, joined with one blank.
std::string CollapseWhitespace(const std::string& text, std::string_view set = kWhitespace);

// Each ASCII letter lower-cased (upper-cased).
std::string ToLowerCase(std::string text);
std::string ToUpperCase(std::string text);
// Whole-string comparison without regard to case.
bool EqualIgnoringCase(std::string_view first, std::string_view second);

// First position at or after start where pattern occurs; std::string::npos when absent.
std::size_t Find(std::string_view text, std::string_view pattern, std::size_t start = 0,
                 Case comparison = Case::Sensitive);
// Replaces every occurrence of pattern, left to right; the inserted replacements are not searched
// again. An empty pattern replaces nothing.
std::string ReplaceAll(std::string text, std::string_view pattern, std::string_view replacement,
                       Case comparison = Case::Sensitive);

// 2 for CR LF and LF CR, 1 for a lone CR or LF, 0 otherwise.
int LineBreakLength(char first, char second);
// The same for the characters at index and index + 1 of text; 0 past the end.
int LineBreakLengthAt(std::string_view text, std::size_t index);

// The characters up to the next LF or the end of the stream, with every CR dropped.
std::string ReadLine(std::istream& stream);

// The fields of text cut at every separator outside double quotes. A double quote switches
// quoting on and off and is dropped; two double quotes in a row outside quotes stand for one
// literal double quote. Empty fields between adjacent separators remain; an empty text has none.
std::vector<std::string> SplitFields(std::string_view text, char separator);
// Field index of SplitFields, or empty when there are fewer fields.
std::string Field(std::string_view text, std::size_t index, char separator);

// Decimal text of a number, and the number at the start of a decimal text (0 when there is none).
std::string ToDecimalText(std::int64_t number);
std::int64_t FromDecimalText(const std::string& text);

// Re-wraps text into lines of fewer than width characters where words allow; every inserted break
// is "\r\n", punctuation stays with the word before it and a longer word overflows its line.
// Characters are counted in the encoding: bytes in a legacy text, never splitting a sequence of a
// UTF-8 one.
std::string Wrap(std::string text, int width, TextEncoding encoding = TextEncoding::Legacy);

}  // namespace utils
