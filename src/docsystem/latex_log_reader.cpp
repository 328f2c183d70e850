#include "docsystem/latex_log_reader.h"

#include <cctype>
#include <charconv>
#include <optional>
#include <string>

namespace {

// TeX breaks every log line after this many characters.
constexpr std::size_t kLogLineWidth = 79;

bool IsDigit(char character)
{
    return std::isdigit(static_cast<unsigned char>(character)) != 0;
}

std::optional<std::int32_t> NumberAt(std::string_view text, std::size_t position)
{
    std::int32_t number = 0;
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data() + std::min(position, text.size()), end, number);
    if (result.ec != std::errc() || number < 0)
        return std::nullopt;
    return number;
}

// "l.12 text": the line of the error before it.
std::optional<std::int32_t> ErrorLocation(std::string_view line)
{
    if (line.size() < 3 || !line.starts_with("l.") || !IsDigit(line[2]))
        return std::nullopt;
    return NumberAt(line, 2);
}

// The log split at line feeds, carriage returns dropped.
std::vector<std::string_view> LogLines(std::string_view text)
{
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        std::string_view line = text.substr(0, end);
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        lines.push_back(line);
        text.remove_prefix(std::min(end + 1, text.size()));
    }
    return lines;
}

// A name after "(" that is a file LaTeX opened rather than text in parentheses: a path, or a name
// with an extension.
bool IsFileName(std::string_view name)
{
    if (name.starts_with("./") || name.starts_with("../") || name.starts_with('/'))
        return true;
    const std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos || dot == 0 || dot + 1 == name.size() || name.size() - dot > 5)
        return false;
    for (const char character : name.substr(dot + 1)) {
        if (!std::isalnum(static_cast<unsigned char>(character)))
            return false;
    }
    return true;
}

class LogReader {
public:
    explicit LogReader(std::string_view text) : lines_(LogLines(text)) {}

    std::vector<LatexProblem> Read()
    {
        for (index_ = 0; index_ < lines_.size(); ++index_)
            ReadLine(lines_[index_]);
        return std::move(problems_);
    }

private:
    void ReadLine(std::string_view line)
    {
        if (line.starts_with('!')) {
            AddError(line);
            return;
        }
        if (const auto location = ErrorLocation(line)) {
            PlaceErrors(*location);
            ++index_;  // the rest of the source line, the user's text
            return;
        }
        if (line == "Runaway argument?") {
            ++index_;  // the argument read so far, the user's text
            return;
        }
        if (line.starts_with("Overfull \\") || line.starts_with("Underfull \\")) {
            AddBoxWarning();
            return;
        }
        if (line.find(" Warning: ") != std::string_view::npos) {
            AddWarning();
            return;
        }
        // Token lists and macro expansions shown with an error are the user's text as well.
        if (inErrorContext_ && (line.starts_with('<') || line.starts_with('\\'))) {
            ++index_;
            return;
        }
        FollowFileStack(line);
    }

    std::string CurrentFile() const
    {
        for (auto entry = fileStack_.rbegin(); entry != fileStack_.rend(); ++entry) {
            if (!entry->empty())
                return *entry;
        }
        return {};
    }

    // The text of a message that TeX broke at the log width, from line index_ on, joined.
    std::string WrappedText()
    {
        std::string text(lines_[index_]);
        while (lines_[index_].size() == kLogLineWidth && index_ + 1 < lines_.size())
            text += lines_[++index_];
        return text;
    }

    void AddError(std::string_view line)
    {
        const std::string file = CurrentFile();
        std::string message = WrappedText();
        message.erase(0, line.starts_with("! ") ? 2 : 1);
        problems_.push_back({ProblemSeverity::Error, std::move(message), file, 0});
        unplacedErrors_.push_back(problems_.size() - 1);
        inErrorContext_ = true;
    }

    // An "l.NN" line tells the line of every error since the last one placed: an error can lead to
    // others (a missing file to an emergency stop) before TeX shows where it stands.
    void PlaceErrors(std::int32_t line)
    {
        for (const std::size_t error : unplacedErrors_)
            problems_[error].line = line;
        unplacedErrors_.clear();
        inErrorContext_ = false;
    }

    // "Overfull \hbox (1.5pt too wide) in paragraph at lines 12--14", "... detected at line 5"; the
    // lines after it, up to a blank line, show the box's typeset text.
    void AddBoxWarning()
    {
        const std::string text = WrappedText();
        for (const std::string_view marker : {" at lines ", " detected at line ", " at line "}) {
            const std::size_t found = text.find(marker);
            if (found == std::string::npos)
                continue;
            if (const auto number = NumberAt(text, found + marker.size()))
                problems_.push_back({ProblemSeverity::Warning, text.substr(0, found), CurrentFile(), *number});
            break;
        }
        while (index_ + 1 < lines_.size() && !lines_[index_ + 1].empty())
            ++index_;
    }

    // A warning runs to the next blank line; its continuation lines start with the package's name
    // in parentheses. Only warnings that tell their input line are kept.
    void AddWarning()
    {
        std::string text = WrappedText();
        while (index_ + 1 < lines_.size() && !lines_[index_ + 1].empty()) {
            ++index_;
            std::string continuation = WrappedText();
            const std::size_t start = continuation.starts_with('(') ? continuation.find(')') + 1 : 0;
            const std::size_t first = continuation.find_first_not_of(' ', start);
            if (first != std::string::npos)
                text.append(" ").append(continuation, first);
        }
        constexpr std::string_view inputLine = " on input line ";
        const std::size_t found = text.rfind(inputLine);
        if (found == std::string::npos)
            return;
        const auto number = NumberAt(text, found + inputLine.size());
        if (!number)
            return;
        constexpr std::string_view latexPrefix = "LaTeX Warning: ";
        const std::size_t start = text.starts_with(latexPrefix) ? latexPrefix.size() : 0;
        problems_.push_back({ProblemSeverity::Warning, text.substr(start, found - start), CurrentFile(), *number});
    }

    // "(" opens a file or plain parenthesised text, ")" closes the innermost of either.
    void FollowFileStack(std::string_view line)
    {
        for (std::size_t position = 0; position < line.size(); ++position) {
            if (line[position] == ')') {
                if (!fileStack_.empty())
                    fileStack_.pop_back();
            } else if (line[position] == '(') {
                const std::string name = NameAfterParenthesis(line, position + 1);
                fileStack_.push_back(IsFileName(name) ? name : std::string());
                position += std::min(name.size(), line.size() - position - 1);
            }
        }
    }

    // The name runs to a blank or parenthesis; a name that reaches the log width goes on in the
    // next line.
    std::string NameAfterParenthesis(std::string_view line, std::size_t start)
    {
        const auto nameEnd = [](std::string_view text, std::size_t from) {
            return std::min(text.find_first_of(" ()", from), text.size());
        };
        std::string name(line.substr(start, nameEnd(line, start) - start));
        if (nameEnd(line, start) == line.size() && line.size() == kLogLineWidth && index_ + 1 < lines_.size()) {
            const std::string_view next = lines_[index_ + 1];
            name += next.substr(0, nameEnd(next, 0));
        }
        return name;
    }

    std::vector<std::string_view> lines_;
    std::size_t index_ = 0;
    std::vector<std::string> fileStack_;  // empty entries: parentheses that are no file
    std::vector<LatexProblem> problems_;
    std::vector<std::size_t> unplacedErrors_;
    bool inErrorContext_ = false;
};

}  // namespace

std::vector<LatexProblem> ReadLatexLog(std::string_view logText)
{
    return LogReader(logText).Read();
}
