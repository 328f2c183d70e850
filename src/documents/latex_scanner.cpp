#include "documents/latex_scanner.h"

#include "documents/colour_spans.h"

namespace {

enum class CommandMode { Symbol, Name, Argument };

bool IsLetterOrDigit(char character)
{
    return (character >= 'A' && character <= 'Z') || (character >= 'a' && character <= 'z')
        || (character >= '0' && character <= '9');
}

// A command name follows a backslash only when the next character is a letter or digit; anything
// else makes it a one-character control symbol such as "\%" or "\\".
CommandMode ModeAfterBackslash(std::string_view line, std::size_t backslashIndex)
{
    const std::size_t next = backslashIndex + 1;
    return next < line.size() && IsLetterOrDigit(line[next]) ? CommandMode::Name : CommandMode::Symbol;
}

class LatexLineScanner {
public:
    LatexLineScanner(std::uint32_t state, std::string_view line, std::vector<ColourSpan>* spans)
        : m_depth(static_cast<std::int32_t>(state)), m_line(line), m_spans(spans)
    {
    }

    std::uint32_t Run()
    {
        if (m_line.empty())
            return static_cast<std::uint32_t>(m_depth);
        if (m_depth != 0) {
            // The line continues an argument left open by the line above.
            m_inCommand = true;
            m_mode = CommandMode::Argument;
            Append(0, ColourSlot::Keyword);
        }
        for (std::size_t index = 0; index < m_line.size(); ++index) {
            if (!m_inCommand) {
                if (ScanPlain(index) == Outcome::RestIsComment)
                    break;
                continue;
            }
            switch (m_mode) {
            case CommandMode::Symbol:
                m_inCommand = false;
                Append(index + 1, ColourSlot::NormalText);
                break;
            case CommandMode::Name:
                ScanName(index);
                break;
            case CommandMode::Argument:
                ScanArgument(index);
                break;
            }
        }
        return static_cast<std::uint32_t>(m_depth);
    }

private:
    enum class Outcome { Continue, RestIsComment };

    Outcome ScanPlain(std::size_t index)
    {
        const char character = m_line[index];
        if (character == '\\') {
            Append(index, ColourSlot::Keyword);
            m_inCommand = true;
            m_mode = ModeAfterBackslash(m_line, index);
            return Outcome::Continue;
        }
        if (character == '%') {
            Append(index, ColourSlot::Comment);
            return Outcome::RestIsComment;
        }
        return Outcome::Continue;
    }

    void ScanName(std::size_t index)
    {
        const char character = m_line[index];
        if (IsLetterOrDigit(character) || character == '*')
            return;
        if (character == '{') {
            m_mode = CommandMode::Argument;
            m_depth = 1;
            m_escaped = false;
            return;
        }
        if (character == '\\') {
            m_mode = ModeAfterBackslash(m_line, index);
            return;
        }
        // The character that ends the name is plain text and is not looked at again, so a "%"
        // right after a command name does not start a comment.
        Append(index, ColourSlot::NormalText);
        m_inCommand = false;
    }

    void ScanArgument(std::size_t index)
    {
        const char character = m_line[index];
        if (character == '\\') {
            m_escaped = !m_escaped;
            return;
        }
        if (!m_escaped && character == '{')
            ++m_depth;
        if (!m_escaped && character == '}')
            --m_depth;
        if (m_depth == 0) {
            m_inCommand = false;
            Append(index + 1, ColourSlot::NormalText);
        }
        m_escaped = false;
    }

    void Append(std::size_t start, ColourSlot slot) { AppendColourSpan(m_spans, start, slot); }

    std::int32_t m_depth;
    std::string_view m_line;
    std::vector<ColourSpan>* m_spans;
    bool m_inCommand = false;
    CommandMode m_mode = CommandMode::Symbol;
    bool m_escaped = false;
};

} // namespace

std::uint32_t ScanLatexLine(std::uint32_t state, std::string_view line, std::vector<ColourSpan>* spans)
{
    return LatexLineScanner(state, line, spans).Run();
}
