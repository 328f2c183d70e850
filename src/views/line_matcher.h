#pragma once

#include "utils/byte_search.h"
#include "utils/utf8_characters.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// Where a match lies in a line: byte index and byte length.
struct LineMatch {
    int start = 0;
    int length = 0;

    friend bool operator==(const LineMatch&, const LineMatch&) = default;
};

enum class WordMatch { Anywhere, WholeWord };

// The pattern is not a valid regular expression; the message names the pattern, the reason and
// where in the pattern it lies.
class SearchPatternError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The first occurrence of `text` in `line` at or after `from`, compared byte for byte; an empty
// text matches at `from`. With WholeWord an occurrence counts only when no word character stands
// right before or after it. -1 when there is none.
int FindInLine(std::string_view line, std::string_view text, WordMatch wordMatch, int from = 0);

// Whether a byte belongs to a word for the whole-word test: ASCII letters and digits, "_", and
// every byte of 128 or more (so in UTF-8 every non-ASCII character).
bool IsWordByte(unsigned char byte);

// Finds one search text (plain or a regular expression, with the options of SearchFlags) in lines
// of a document. Built once per search, used for every line it looks at.
class LineMatcher {
public:
    // Throws SearchPatternError for an invalid regular expression.
    LineMatcher(std::string_view text, std::uint32_t flags, TextEncoding encoding);
    ~LineMatcher();
    LineMatcher(const LineMatcher&) = delete;
    LineMatcher& operator=(const LineMatcher&) = delete;

    // The first acceptable match starting at or after `from`.
    std::optional<LineMatch> FindFirst(std::string_view line, int from) const;
    // The last acceptable match starting before `before`.
    std::optional<LineMatch> FindLast(std::string_view line, int before) const;
    // The replacement for the match at `match`: for a regular expression "$0" to "$9" stand for
    // the match and its groups, "$$" for "$", "\n" for a line break and "\\" for "\"; a plain
    // search takes `replacement` as it is.
    std::string Substitute(std::string_view line, LineMatch match, std::string_view replacement) const;

private:
    class RegularExpression;

    std::optional<LineMatch> FindPlainOrExpression(std::string_view line, int from) const;
    std::optional<LineMatch> FindFolded(std::string_view line, int from) const;
    std::optional<LineMatch> FindFoldedUtf8(std::string_view line, int from) const;
    int NextCharacterStart(std::string_view line, int index) const;
    static void FoldUtf8(std::string_view text, std::string& folded, std::vector<int>* origins);
    static std::string FoldCase(std::string_view text, TextEncoding encoding);

    std::string m_text;
    std::uint32_t m_flags;
    TextEncoding m_encoding;
    // The text with its letters folded, for a search that ignores case.
    std::string m_foldedText;
    bool m_foldedTextIsAscii = true;
    // Folding ASCII letters alone finds every match of the folded text.
    bool m_foldsLikeAscii = true;
    std::unique_ptr<RegularExpression> m_expression;
    std::optional<utils::BytePattern> m_exactPattern;
    std::optional<utils::BytePattern> m_foldedPattern;
    // Scratch space of the folded search, kept between lines.
    mutable std::string m_foldedLine;
    // For each byte of m_foldedLine in a UTF-8 search (and one past its end): where the character
    // it belongs to starts in the line.
    mutable std::vector<int> m_foldedOrigins;
};
