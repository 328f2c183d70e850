#include "docsystem/command_arguments.h"

#include <gtest/gtest.h>

namespace {

// The names a command's argument holds, as a document would write them after "\cmd".
std::vector<std::string> Names(const std::string& afterCommand, ArgumentForm form)
{
    const std::string text = "\\cmd" + afterCommand;
    const auto argument = CommandArgument(text, 4, form);
    std::vector<std::string> names;
    if (!argument)
        return names;
    for (const TextSpan& span : NameSpans(text, *argument, form))
        names.push_back(text.substr(span.start, span.length));
    return names;
}

TEST(CommandArguments, FindsTheNamesOfBracedArgumentsAndOptionLists)
{
    const std::vector<std::tuple<std::string, ArgumentForm, std::vector<std::string>>> cases = {
        {"{plot}", ArgumentForm::One, {"plot"}},
        {"*[1,2][3,4] {figs/plot.png}", ArgumentForm::One, {"figs/plot.png"}},
        {"[width=\\linewidth]\n  { spaced name }", ArgumentForm::One, {"spaced name"}},
        {"[a,b]{ one ,two,, three}", ArgumentForm::CommaList, {"one", "two", "three"}},
        {"{a,b}", ArgumentForm::One, {"a,b"}},
        {"{}", ArgumentForm::One, {}},
        {"x{plot}", ArgumentForm::One, {}},
        {"[unclosed{plot}", ArgumentForm::One, {}},
        {"{unclosed", ArgumentForm::One, {}},
        {" text", ArgumentForm::One, {}},
        {" [version=last, ich]{scrlttr2}", ArgumentForm::OptionList, {"version=last", "ich"}},
        {"{scrlttr2}", ArgumentForm::OptionList, {}},
        {"[unclosed{scrlttr2}", ArgumentForm::OptionList, {}},
    };
    for (const auto& [afterCommand, form, names] : cases)
        EXPECT_EQ(Names(afterCommand, form), names) << afterCommand;
}

}  // namespace
