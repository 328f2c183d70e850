#include "html_options.h"

#include "protocol_error.h"

#include <map>
#include <regex>
#include <set>

namespace torvel {
namespace {

enum class ValueKind { None, Integer, Decimal, FontSize, Language, HtmlVersion, Word, Text };

// Switches that only change how the pages look; each also comes as -noNAME and -no_NAME.
const std::set<std::string> kSwitches = {
    "navigation", "top_navigation", "bottom_navigation", "auto_navigation", "index_in_navigation",
    "contents_in_navigation", "next_page_in_navigation", "previous_page_in_navigation", "footnode",
    "numbered_footnotes", "toc_stars", "show_section_numbers", "images", "math", "math_parsing", "latin", "entities",
    "antialias", "antialias_text", "transparent", "white", "lcase_tags", "local_icons", "scalable_fonts",
    "images_only", "add_ref_name", "cut_ref_num", "auto_link", "tex_defs", "parbox_images", "ascii_mode",
    "custom_titles", "short_index", "unsegment", "latex", "strict", "timing", "discard", "external_images"};

// Options with a value. Options that choose files, directories, programs or Perl code are absent
// on purpose (-dir, -rootdir, -prefix, -init_file, -tmp, -external_file, -validate, -style ...).
const std::map<std::string, ValueKind> kValueOptions = {
    {"split", ValueKind::Integer},        {"link", ValueKind::Integer},          {"toc_depth", ValueKind::Integer},
    {"long_titles", ValueKind::Integer},  {"verbosity", ValueKind::Integer},     {"font_size", ValueKind::FontSize},
    {"iso_language", ValueKind::Language}, {"html_version", ValueKind::HtmlVersion},
    {"accent_images", ValueKind::Word},   {"title", ValueKind::Text},            {"t", ValueKind::Text},
    {"address", ValueKind::Text},         {"math_scale_factor", ValueKind::Decimal},
    {"figure_scale_factor", ValueKind::Decimal}};

const std::set<std::string> kPlainFlags = {"noaddress", "noaccent_images"};

bool ValueFits(ValueKind kind, const std::string& value)
{
    static const std::map<ValueKind, std::regex> patterns = {
        {ValueKind::Integer, std::regex(R"([+-]?[0-9]{1,3})")},
        {ValueKind::Decimal, std::regex(R"([0-9]{1,2}(\.[0-9]{1,4})?)")},
        {ValueKind::FontSize, std::regex(R"([0-9]{1,2}pt)")},
        {ValueKind::Language, std::regex(R"([A-Za-z]{1,8}(-[A-Za-z0-9]{1,8})?)")},
        {ValueKind::HtmlVersion, std::regex(R"([0-9](\.[0-9])?(,[a-z0-9_]{1,16}){0,4})")},
        {ValueKind::Word, std::regex(R"([a-z]{1,16})")}};
    if (kind == ValueKind::Text)
        return value.size() <= 200;
    return std::regex_match(value, patterns.at(kind));
}

std::string SwitchName(const std::string& name)
{
    if (name.starts_with("no_"))
        return name.substr(3);
    if (name.starts_with("no"))
        return name.substr(2);
    return name;
}

void AddValueOption(HtmlOptions& options, const std::string& name, ValueKind kind, const std::string& value)
{
    if (!ValueFits(kind, value))
        throw ProtocolError("latex2html option -" + name + " has a bad value \"" + value + "\"");
    if (name == "math_scale_factor")
        options.mathScaleFactor = value;
    else if (name == "figure_scale_factor")
        options.figureScaleFactor = value;
    else
        options.arguments.insert(options.arguments.end(), {"-" + name, value});
}

}  // namespace

std::vector<std::string> SplitOptionWords(const std::string& text)
{
    std::vector<std::string> words;
    std::string word;
    bool inWord = false;
    bool quoted = false;
    for (std::size_t index = 0; index < text.size(); ++index) {
        const char character = text[index];
        if (character == '"') {
            if (!quoted && index + 1 < text.size() && text[index + 1] == '"') {
                word += '"';
                ++index;
            } else {
                quoted = !quoted;
            }
            inWord = true;
        } else if ((character == ' ' || character == '\t') && !quoted) {
            if (inWord)
                words.push_back(word);
            word.clear();
            inWord = false;
        } else {
            word += character;
            inWord = true;
        }
    }
    if (quoted)
        throw ProtocolError("latex2html options have an unclosed double quote");
    if (inWord)
        words.push_back(word);
    return words;
}

HtmlOptions ParseHtmlOptions(const std::string& text)
{
    HtmlOptions options;
    const std::vector<std::string> words = SplitOptionWords(text);
    for (std::size_t index = 0; index < words.size(); ++index) {
        const std::string& word = words[index];
        if (word.size() < 2 || word.front() != '-')
            throw ProtocolError("unexpected word \"" + word + "\" among the latex2html options");
        const std::string name = word.substr(1);
        if (kPlainFlags.contains(name) || kSwitches.contains(SwitchName(name))) {
            options.arguments.push_back(word);
            continue;
        }
        const auto valueOption = kValueOptions.find(name);
        if (valueOption == kValueOptions.end())
            throw ProtocolError("latex2html option " + word + " is not allowed on this server");
        if (index + 1 >= words.size())
            throw ProtocolError("latex2html option " + word + " needs a value");
        AddValueOption(options, name, valueOption->second, words[++index]);
    }
    return options;
}

}  // namespace torvel
