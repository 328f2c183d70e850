#include "docsystem/source_preamble.h"

#include "docsystem/source_encoding.h"
#include "docsystem/template_directory.h"
#include "utils/string_utils.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <fstream>
#include <mutex>
#include <sstream>

namespace {

bool IsDigit(char character)
{
    return std::isdigit(static_cast<unsigned char>(character));
}

char EscapedCharacter(char letter)
{
    switch (letter) {
    case 'b':
        return '\b';
    case 'n':
        return '\n';
    case 'r':
        return '\r';
    case 't':
        return '\t';
    default:
        return letter;
    }
}

// "\" + digits is the byte of that code (its low 8 bits), "\b", "\n", "\r", "\t" the control
// bytes, "\" + any other character that character.
std::string Unescape(std::string_view field)
{
    std::string result;
    for (std::size_t index = 0; index < field.size(); ++index) {
        if (field[index] != '\\' || index + 1 == field.size()) {
            result += field[index];
        } else if (!IsDigit(field[index + 1])) {
            result += EscapedCharacter(field[++index]);
        } else {
            unsigned code = 0;
            while (index + 1 < field.size() && IsDigit(field[index + 1]))
                code = (code * 10 + static_cast<unsigned>(field[++index] - '0')) & 0xFFu;
            result += static_cast<char>(code);
        }
    }
    return result;
}

// The command a replacement begins with: the letters and digits after its leading "\".
std::string CommandName(std::string_view replacement)
{
    if (replacement.empty() || replacement.front() != '\\')
        return {};
    std::size_t end = 1;
    while (end < replacement.size() && std::isalnum(static_cast<unsigned char>(replacement[end])))
        ++end;
    return std::string(replacement.substr(1, end - 1));
}

void AddKnownCommands(SourcePreamble& preamble, const std::string& names)
{
    for (const std::string& name : utils::SplitFields(names, ',')) {
        preamble.utf8.knownCommands.insert(utils::Trim(name));
        preamble.legacy.knownCommands.insert(utils::Trim(name));
    }
}

// A replacement that begins with a command nobody defined gets a definition that stands for the
// replaced text. A command without a name would be a LaTeX error, so it gets none.
void DefineEntityCommand(EncodingPreamble& preamble, const EntityPair& pair)
{
    const std::string name = CommandName(pair.to);
    if (name.empty() || preamble.knownCommands.contains(name))
        return;
    preamble.knownCommands.insert(name);
    const bool opensArgument = pair.to.find('{') != std::string::npos && pair.to.find('}') == std::string::npos;
    if (opensArgument)
        preamble.text += "\\newcommand{\\" + name + "}[1]{" + pair.from + "#1}}\n";
    else
        preamble.text += "\\newcommand{\\" + name + "}{" + pair.from + "}\n";
}

void AddPreprocessLine(SourcePreamble& preamble, const std::string& line)
{
    const std::vector<std::string> fields = utils::SplitFields(utils::Trim(line), ' ');
    if (fields.size() != 2)
        return;
    if (fields[0] == "latexcommand") {
        AddKnownCommands(preamble, fields[1]);
        return;
    }
    const EntityPair pair{Unescape(fields[0]), Unescape(fields[1])};
    const bool ascii = std::all_of(pair.from.begin(), pair.from.end(), [](char byte) { return (byte & 0x80) == 0; });
    const TextEncoding encoding = DetectedEncoding(pair.from);
    for (EncodingPreamble* target : {&preamble.utf8, &preamble.legacy}) {
        if (!ascii && target != &preamble.For(encoding))
            continue;
        DefineEntityCommand(*target, pair);
        target->entityPairs.push_back(pair);
    }
}

std::string RuleNumber(std::int32_t id)
{
    char digits[16];
    std::snprintf(digits, sizeof digits, "%04d", static_cast<int>(id));
    return digits;
}

// The commands of the post-processing rules, which an HTML conversion turns into numbered markers.
std::string MarkerCommands(const PostProcessTable& rules)
{
    std::string commands = "\\begin{htmlonly}\n";
    for (const auto& [names, rule] : rules.Rules()) {
        const std::string number = RuleNumber(rule.id);
        for (const std::string& name : names) {
            if (name.empty())
                continue;
            if (rule.hasArgument)
                commands += "\\newcommand{\\" + name + "}[1]{{88888889" + number + ".#1.99999999}}\n";
            else
                commands += "\\newcommand{\\" + name + "}{{88888887" + number + ".}}\n";
        }
    }
    return commands + "\\end{htmlonly}\n";
}

}  // namespace

SourcePreamble BuildSourcePreamble(const std::string& preprocessText, const PostProcessTable& rules)
{
    SourcePreamble preamble;
    std::istringstream lines(preprocessText);
    while (lines) {
        AddPreprocessLine(preamble, utils::ReadLine(lines));
    }
    const std::string markerCommands = MarkerCommands(rules);
    preamble.utf8.text += markerCommands;
    preamble.legacy.text += markerCommands;
    return preamble;
}

std::shared_ptr<const SourcePreamble> SharedSourcePreamble(DocumentationCallback& callback)
{
    static std::mutex mutex;
    static std::shared_ptr<const SourcePreamble> preamble;
    const std::lock_guard lock(mutex);
    if (preamble)
        return preamble;
    // Without the file there is no preamble and no entity replacement; a later call tries again.
    std::ifstream file(TemplateDirectory(callback) + "/preprocess.txt", std::ios::binary);
    if (!file.is_open())
        return nullptr;
    std::ostringstream content;
    content << file.rdbuf();
    preamble = std::make_shared<const SourcePreamble>(BuildSourcePreamble(content.str(), *SharedPostProcessTable()));
    return preamble;
}
