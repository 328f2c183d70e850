#include "edit_view_fixture.h"

#include "utils/utf8_characters.h"

#include <random>
#include <vector>

// Long random key sequences against a plain model of what each key does to the text and to the
// undo list. After every key the view's text equals the model's, the caret and the selection lie
// on character starts inside the text, and undoing everything gives back the original bytes.
namespace views_test {
namespace {

using Lines = std::vector<std::string>;

int NextCharacter(const std::string& line, int index)
{
    return utf8::NextCharacter(line, index, TextEncoding::Utf8);
}

int PreviousCharacter(const std::string& line, int index)
{
    return utf8::PreviousCharacter(line, index, TextEncoding::Utf8);
}

// The text as lines of bytes with the editing operations of the buffer, written plainly.
struct TextModel {
    Lines lines;

    std::string Get(TextPosition start, TextPosition end) const
    {
        if (start.line == end.line)
            return lines[start.line].substr(start.character, end.character - start.character);
        std::string text = lines[start.line].substr(start.character);
        for (int line = start.line + 1; line < end.line; ++line)
            text += "\r\n" + lines[line];
        return text + "\r\n" + lines[end.line].substr(0, end.character);
    }
    void Delete(TextPosition start, TextPosition end)
    {
        const std::string rest = lines[end.line].substr(end.character);
        lines[start.line] = lines[start.line].substr(0, start.character) + rest;
        lines.erase(lines.begin() + start.line + 1, lines.begin() + end.line + 1);
    }
    // Text with "\r\n" between lines; returns the end.
    TextPosition Insert(TextPosition at, const std::string& text)
    {
        const std::string rest = lines[at.line].substr(at.character);
        lines[at.line].resize(at.character);
        TextPosition end = at;
        for (std::size_t start = 0;;) {
            const std::size_t lineEnd = text.find("\r\n", start);
            const std::string piece = text.substr(start, lineEnd == std::string::npos ? std::string::npos : lineEnd - start);
            lines[end.line] += piece;
            end.character = static_cast<int>(lines[end.line].size());
            if (lineEnd == std::string::npos)
                break;
            lines.insert(lines.begin() + end.line + 1, std::string());
            ++end.line;
            start = lineEnd + 2;
        }
        lines[end.line] += rest;
        return end;
    }
};

// The model's undo list: the text after each step, and how many steps are applied.
struct HistoryModel {
    std::vector<Lines> texts;
    std::size_t position = 0;

    void NewStep(const Lines& lines)
    {
        texts.resize(position + 1);
        texts.push_back(lines);
        ++position;
    }
    void JoinStep(const Lines& lines)
    {
        if (position == 0) {
            NewStep(lines);
            return;
        }
        texts.resize(position + 1);
        texts[position] = lines;
    }
};

enum class Key {
    Character, Enter, Tab, Untab, Delete, Backspace, Undo, Redo, Cut, Copy, Paste, Overwrite, Move,
};

struct Move {
    UINT key;
    bool control;
};

constexpr Move Moves[] = {
    {VK_LEFT, false}, {VK_RIGHT, false}, {VK_UP, false},   {VK_DOWN, false}, {VK_HOME, false},
    {VK_END, false},  {VK_LEFT, true},   {VK_RIGHT, true}, {VK_HOME, true},  {VK_END, true},
    {VK_PRIOR, false}, {VK_NEXT, false},
};

const char32_t TypedCharacters[] = {U'a', U'b', U'Z', U'1', U' ', U' ', U'\u00e9', U'\u4e2d', U'\U0001F600'};

const char* const TextPieces[] = {"a", "b", "x", "7", " ", "  ", "\t", "\xC3\xA9", "\xE4\xB8\xAD", "\xF0\x9F\x98\x80",
                                  "\x80", "\xFF", "\xC3", "\xE2\x82", "{", "%"};

class EditModelTest : public EditViewTest {
protected:
    std::mt19937 random{20261206};

    int Below(int limit) { return static_cast<int>(random() % static_cast<unsigned>(limit)); }

    Lines RandomLines(bool withUtf8)
    {
        Lines lines(static_cast<std::size_t>(1 + Below(6)));
        const int pieces = withUtf8 ? static_cast<int>(std::size(TextPieces)) : 7;
        static const char* const indentations[] = {"", "", "\t", "  ", "    ", "      ", "  \t", "\t\t"};
        for (std::string& line : lines) {
            line = indentations[Below(static_cast<int>(std::size(indentations)))];
            for (int count = Below(12); count > 0; --count)
                line += TextPieces[Below(pieces)];
        }
        return lines;
    }

    void Load(const Lines& lines)
    {
        std::string text;
        for (std::size_t index = 0; index < lines.size(); ++index)
            text += (index > 0 ? "\n" : "") + lines[index];
        SetText(text);
    }

    void ExpectInsideTheText(TextPosition position, const char* what)
    {
        ASSERT_GE(position.line, 0) << what;
        ASSERT_LT(position.line, buffer.LineCount()) << what;
        ASSERT_GE(position.character, 0) << what;
        const std::string line(buffer.LineChars(position.line), static_cast<std::size_t>(buffer.LineLength(position.line)));
        ASSERT_LE(position.character, static_cast<int>(line.size())) << what;
        EXPECT_EQ(utf8::CharacterStart(line, position.character, TextEncoding::Utf8), position.character)
            << what << " inside a character";
    }

    Key RandomKey()
    {
        static constexpr Key keys[] = {
            Key::Character, Key::Character, Key::Character, Key::Character, Key::Enter, Key::Tab, Key::Untab,
            Key::Delete, Key::Backspace, Key::Undo, Key::Undo, Key::Redo, Key::Cut, Key::Copy, Key::Paste,
            Key::Overwrite, Key::Move, Key::Move, Key::Move, Key::Move,
        };
        return keys[Below(static_cast<int>(std::size(keys)))];
    }

    void RunSequence(const Lines& original, int steps);
};

void EditModelTest::RunSequence(const Lines& original, int steps)
{
    Load(original);
    TextModel text{original};
    HistoryModel history{{original}};
    std::string clipboard;
    bool clipboardHasText = false;
    backend.PutNonTextOnClipboard();
    bool overwrite = false;

    for (int step = 0; step < steps; ++step) {
        const TextPosition caret = Caret();
        const TextPosition start = SelectionStart();
        const TextPosition end = SelectionEnd();
        const bool selection = start != end;
        const Key key = RandomKey();
        SCOPED_TRACE("step " + std::to_string(step) + ", key " + std::to_string(static_cast<int>(key)));

        // The insertion point once the selection is gone.
        const auto deleteSelection = [&] {
            if (selection)
                text.Delete(start, end);
            return selection ? start : caret;
        };
        const auto blockLines = [&](int& first, int& last) {
            if (!selection || start.line == end.line)
                return false;
            first = start.line;
            last = end.character == 0 ? end.line - 1 : end.line;
            return true;
        };

        switch (key) {
        case Key::Character: {
            const char32_t character = TypedCharacters[Below(static_cast<int>(std::size(TypedCharacters)))];
            TextPosition at = deleteSelection();
            if (!selection && overwrite && at.character < static_cast<int>(text.lines[at.line].size()))
                text.Delete(at, {NextCharacter(text.lines[at.line], at.character), at.line});
            text.Insert(at, utf8::Encode(character));
            if (character == U' ')
                history.NewStep(text.lines);
            else
                history.JoinStep(text.lines);
            Type(std::u32string(1, character));
            break;
        }
        case Key::Enter: {
            if (!(overwrite && caret.line < static_cast<int>(text.lines.size()) - 1)) {
                const TextPosition lineStart = text.Insert(deleteSelection(), "\r\n");
                history.NewStep(text.lines);
                const std::string& above = text.lines[lineStart.line - 1];
                const std::size_t width = above.find_first_not_of(" \t\v\f\r\n");
                const std::string indentation = above.substr(0, width);
                if (!overwrite && !indentation.empty()) {
                    text.Insert(lineStart, indentation);
                    history.NewStep(text.lines);
                }
            }
            Enter();
            break;
        }
        case Key::Tab: {
            int first = 0;
            int last = 0;
            if (blockLines(first, last)) {
                for (int line = first; line <= last; ++line)
                    text.Insert({0, line}, "\t");
                history.NewStep(text.lines);
            } else if (!(overwrite && caret.character < static_cast<int>(text.lines[caret.line].size()))) {
                text.Insert(deleteSelection(), "\t");
                history.NewStep(text.lines);
            }
            Press(VK_TAB);
            break;
        }
        case Key::Untab: {
            int first = 0;
            int last = 0;
            if (blockLines(first, last)) {
                bool changed = false;
                for (int line = first; line <= last; ++line) {
                    const std::string& bytes = text.lines[line];
                    int width = 0;
                    while (width < 4 && width < static_cast<int>(bytes.size()) && bytes[width] == ' ')
                        ++width;
                    if (width < 4 && width < static_cast<int>(bytes.size()) && bytes[width] == '\t')
                        ++width;
                    if (width > 0) {
                        text.Delete({0, line}, {width, line});
                        changed = true;
                    }
                }
                if (changed)
                    history.NewStep(text.lines);
            }
            Press(VK_TAB, {VK_SHIFT});
            break;
        }
        case Key::Delete:
        case Key::Backspace: {
            if (selection) {
                text.Delete(start, end);
                history.NewStep(text.lines);
            } else if (key == Key::Delete) {
                const std::string& line = text.lines[caret.line];
                if (caret.character < static_cast<int>(line.size())) {
                    text.Delete(caret, {NextCharacter(line, caret.character), caret.line});
                    history.NewStep(text.lines);
                } else if (caret.line + 1 < static_cast<int>(text.lines.size())) {
                    text.Delete(caret, {0, caret.line + 1});
                    history.NewStep(text.lines);
                }
            } else if (caret.character > 0) {
                text.Delete({PreviousCharacter(text.lines[caret.line], caret.character), caret.line}, caret);
                history.NewStep(text.lines);
            } else if (caret.line > 0) {
                text.Delete({static_cast<int>(text.lines[caret.line - 1].size()), caret.line - 1}, caret);
                history.NewStep(text.lines);
            }
            Press(key == Key::Delete ? VK_DELETE : VK_BACK);
            break;
        }
        case Key::Undo:
            if (history.position > 0)
                text.lines = history.texts[--history.position];
            Undo();
            break;
        case Key::Redo:
            if (history.position + 1 < history.texts.size())
                text.lines = history.texts[++history.position];
            Redo();
            break;
        case Key::Cut:
        case Key::Copy:
            if (selection) {
                clipboard = text.Get(start, end);
                clipboardHasText = true;
                if (key == Key::Cut) {
                    text.Delete(start, end);
                    history.NewStep(text.lines);
                }
            }
            Press(key == Key::Cut ? 'X' : 'C', {VK_CONTROL});
            break;
        case Key::Paste:
            if (clipboardHasText) {
                text.Insert(deleteSelection(), clipboard);
                history.NewStep(text.lines);
            }
            Press('V', {VK_CONTROL});
            break;
        case Key::Overwrite:
            overwrite = !overwrite;
            Press(VK_INSERT);
            break;
        case Key::Move: {
            const Move& move = Moves[Below(static_cast<int>(std::size(Moves)))];
            const bool shift = Below(2) == 0;
            if (move.control && shift)
                Press(move.key, {VK_CONTROL, VK_SHIFT});
            else if (move.control)
                Press(move.key, {VK_CONTROL});
            else if (shift)
                Press(move.key, {VK_SHIFT});
            else
                Press(move.key);
            break;
        }
        }
        ASSERT_EQ(buffer.LineCount(), static_cast<int>(text.lines.size()));
        ASSERT_EQ(Text(), [&] {
            std::string joined;
            for (std::size_t index = 0; index < text.lines.size(); ++index)
                joined += (index > 0 ? "\n" : "") + text.lines[index];
            return joined;
        }());
        ExpectInsideTheText(Caret(), "caret");
        ExpectInsideTheText(SelectionStart(), "selection start");
        ExpectInsideTheText(SelectionEnd(), "selection end");
        ASSERT_EQ(view->OverwriteMode(), overwrite);
    }
    while (buffer.CanUndo())
        Undo();
    std::string originalText;
    for (std::size_t index = 0; index < original.size(); ++index)
        originalText += (index > 0 ? "\n" : "") + original[index];
    EXPECT_EQ(Text(), originalText) << "undoing everything gives back the original bytes";
    ExpectInsideTheText(Caret(), "caret after undoing everything");
}

TEST_F(EditModelTest, RandomKeysOnAsciiTexts)
{
    for (int sequence = 0; sequence < 30; ++sequence) {
        SCOPED_TRACE("ASCII sequence " + std::to_string(sequence));
        RunSequence(RandomLines(false), 150);
        if (HasFatalFailure())
            return;
    }
}

TEST_F(EditModelTest, RandomKeysOnUtf8TextsWithInvalidBytes)
{
    for (int sequence = 0; sequence < 30; ++sequence) {
        SCOPED_TRACE("UTF-8 sequence " + std::to_string(sequence));
        RunSequence(RandomLines(true), 150);
        if (HasFatalFailure())
            return;
    }
}

}  // namespace
}  // namespace views_test
