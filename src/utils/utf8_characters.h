#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// How the bytes of a document are read as characters. The bytes themselves never change: the
// encoding only decides where a character starts and ends and how it is shown.
enum class TextEncoding {
    Utf8,    // a valid UTF-8 sequence is one character; every other byte is one of its own
    Legacy,  // every byte is one character of the font's 8-bit character set
};

// The one place that decides where a character starts and ends, whether bytes form a valid UTF-8
// sequence and how many cells a character takes. Indexes are byte indexes into the text given.
namespace utf8 {

// The character shown for an invalid byte.
constexpr char32_t ReplacementCharacter = 0xFFFD;

// One character read at a byte index.
struct Character {
    char32_t codePoint = 0;  // ReplacementCharacter for an invalid byte
    int length = 1;          // its bytes
    bool valid = true;
};

// The character starting at `index` (which must be inside `text`). Overlong forms, surrogates and
// code points above U+10FFFF are invalid, and so is a sequence cut short; then the first byte is
// one invalid character of its own.
Character DecodeAt(std::string_view text, std::size_t index);

// The cells a code point takes on screen: 2 for East Asian wide and fullwidth ones, else 1.
int CellWidth(char32_t codePoint);

// The UTF-8 bytes of a code point; empty for a surrogate or a value above U+10FFFF.
std::string Encode(char32_t codePoint);

// The text with every invalid byte replaced by the replacement character, for places that need
// valid UTF-8 (the clipboard, the window system).
std::string ValidText(std::string_view text);

// Navigation in either encoding: in a legacy text every byte is a character. Indexes outside the
// text are limited to it.
int CharacterLength(std::string_view text, int index, TextEncoding encoding);
// The index after the character at `index`.
int NextCharacter(std::string_view text, int index, TextEncoding encoding);
// The start of the character that ends at `index`.
int PreviousCharacter(std::string_view text, int index, TextEncoding encoding);
// The start of the character that holds the byte at `index` (`index` itself when it starts one).
int CharacterStart(std::string_view text, int index, TextEncoding encoding);
// The cells of the character at `index`, tabs not considered.
int CharacterCells(std::string_view text, int index, TextEncoding encoding);
// The number of characters that start in [0, index).
int CharacterCount(std::string_view text, int index, TextEncoding encoding);

// The encoding rule for loaded text: count the valid multi-byte sequences and the bytes of 128 to
// 255 that belong to none; UTF-8 when there are more sequences than such bytes, and for text
// without bytes above 127.
class EncodingDetector {
public:
    // Texts are counted separately (a sequence never spans two of them, as it never spans a line
    // break).
    void Count(std::string_view text);
    TextEncoding Decision() const;

private:
    long long m_validSequences = 0;
    long long m_strayBytes = 0;
};

}  // namespace utf8
