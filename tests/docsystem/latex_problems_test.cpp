#include "docsystem/conditional_sections.h"
#include "docsystem/entity_replacement.h"
#include "docsystem/latex_log_reader.h"
#include "docsystem/postprocess_table.h"
#include "docsystem/problem_mapping.h"
#include "docsystem/source_preparation.h"
#include "docsystem_test_support.h"
#include "utils/test_scratch_directory.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

using docsystem::testing::ParameterCallback;
using ::testing::ElementsAreArray;

const std::string sourceDirectory = QUILLWRIGHT_SOURCE_DIR;
const std::string logDirectory = sourceDirectory + "/tests/docsystem/latex_logs/";

std::vector<std::int32_t> OriginalLines(const SourceLineMap& lines)
{
    std::vector<std::int32_t> originals;
    for (std::size_t line = 1; line <= lines.PreparedLineCount(); ++line)
        originals.push_back(lines.OriginalLine(static_cast<std::int32_t>(line)));
    return originals;
}

TEST(SourceLineMapTest, PreparationKeepsTheOriginalLineOfEveryPreparedLine)
{
    SourcePreamble preamble;
    preamble.legacy.text = "\\newcommand{\\a}{A}\n\\newcommand{\\b}{B}\n";
    preamble.legacy.entityPairs = {{"<br>", "\\\\\n"}, {"\\join\n", " "}};
    const struct {
        const char* name;
        std::string text;
        OutputMode mode;
        std::vector<std::int32_t> expected;  // the original line of each prepared line
    } cases[] = {
        {"untouched", "a\nb\nc", OutputMode::Pdf, {1, 2, 3}},
        {"removed sections", "a\n%begin{html}\nw1\nw2\n%end\nb\n%begin{pdf}\np\n%end\nc\n", OutputMode::Pdf,
         {1, 2, 5, 6, 7, 8, 9, 10, 11}},
        {"removed sections, CR LF", "a\r\n%begin{html}\r\nw1\r\n%end\r\nb", OutputMode::Pdf, {1, 2, 4, 5}},
        {"preamble at its marker", "a\n%replace_entities\nb\n", OutputMode::Pdf, {1, 2, 2, 2, 3, 4}},
        {"preamble in the middle of a line", "a\nx %replace_entities\nb", OutputMode::Pdf, {1, 2, 2, 2, 3}},
        {"sections and preamble", "a\n%replace_entities\n%begin{html}\nw\n%end\nb", OutputMode::Pdf,
         {1, 2, 2, 2, 3, 5, 6}},
        {"entities that add and remove line breaks", "a<br>b\nc\\join\nd\ne", OutputMode::Pdf, {1, 1, 2, 4}},
        {"entity in a comment", "%<br>\na<br>b", OutputMode::Pdf, {1, 2, 2}},
    };
    for (const auto& example : cases) {
        SCOPED_TRACE(example.name);
        std::string text = example.text;
        SourceLineMap lines(text);
        ApplyConditionalSections(text, lines, example.mode);
        ApplySourcePreamble(text, lines, preamble, TextEncoding::Legacy);
        EXPECT_EQ(lines.PreparedLineCount(), LineBreakCount(text) + 1);
        EXPECT_THAT(OriginalLines(lines), ElementsAreArray(example.expected));
        EXPECT_EQ(lines.OriginalLine(0), 0);
        EXPECT_EQ(lines.OriginalLine(static_cast<std::int32_t>(lines.PreparedLineCount()) + 1), 0);
    }
}

TEST(LatexLogReaderTest, FileStackAndMessagesOfMadeUpLogs)
{
    const struct {
        const char* name;
        std::string log;
        std::vector<LatexProblem> expected;
    } cases[] = {
        {"a parenthesis of text in a file and a file name broken at the log width",
         "(./a.tex (not a file) (" + std::string(56, 'x') + "\n.tex\n! Bad.\nl.3 x\n \n)\n! Worse.\nl.4 (open\n  y)\n"
         "! Last.\nl.5 z\n \n",
         {{ProblemSeverity::Error, "Bad.", std::string(56, 'x') + ".tex", 3},
          {ProblemSeverity::Error, "Worse.", "./a.tex", 4},
          {ProblemSeverity::Error, "Last.", "./a.tex", 5}}},
        {"an error message broken at the log width",
         "(./a.tex\n! " + std::string(77, 'm') + "\nrest.\nl.2 x\n",
         {{ProblemSeverity::Error, std::string(77, 'm') + "rest.", "./a.tex", 2}}},
        {"a package warning over several lines, one without a line, one outside every file",
         "Package p Warning: first part\n(p)                second part on input line 12.\n\n(./a.tex\n"
         "LaTeX Warning: There were undefined references.\n\n)\n! Outside.\n<*> a.tex\n",
         {{ProblemSeverity::Warning, "Package p Warning: first part second part", "", 12},
          {ProblemSeverity::Error, "Outside.", "", 0}}},
        {"token lists of an error context are not parsed for files",
         "(./a.tex\n! Paragraph ended.\n<argument> (x\n              (y\n<to be read again> \n   \\par \nl.7 }\n   \n)\n"
         "Underfull \\hbox (badness 10000) in paragraph at lines 8--9\n[] (z\n\n! After.\nl.9 q\n",
         {{ProblemSeverity::Error, "Paragraph ended.", "./a.tex", 7},
          {ProblemSeverity::Warning, "Underfull \\hbox (badness 10000) in paragraph", "", 8},
          {ProblemSeverity::Error, "After.", "", 9}}},
    };
    for (const auto& example : cases) {
        SCOPED_TRACE(example.name);
        EXPECT_THAT(ReadLatexLog(example.log), ElementsAreArray(example.expected));
    }
}

// Logs made by make-logs with the real LaTeX through the job, read and mapped through the sources
// as this job prepares them again.
class RealLogTest : public ::testing::Test {
protected:
    std::vector<LatexProblem> ProblemsOf(const std::string& name)
    {
        if (SharedPostProcessTable()->IsEmpty())
            LoadPostProcessTable(sourceDirectory + "/template/postprocess.txt");
        const std::string directory = logDirectory + name;
        DocumentationJob job;
        job.mode = OutputMode::Pdf;
        job.documentPath = directory + "/" + name + ".tex";
        job.callback = std::make_unique<ParameterCallback>(sourceDirectory);
        PrepareSources(job, NamesOfDocument(job.documentPath));
        const std::string log = utils::testing::ReadFile(directory + "/" + name + ".log");
        return ProblemsInUserFiles(ReadLatexLog(log), LoggedFiles{job.sources, directory, job.documentPath});
    }
};

LatexProblem Error(const std::string& file, std::int32_t line, const std::string& message)
{
    return {ProblemSeverity::Error, message, logDirectory + file, line};
}

LatexProblem Warning(const std::string& file, std::int32_t line, const std::string& message)
{
    return {ProblemSeverity::Warning, message, logDirectory + file, line};
}

TEST_F(RealLogTest, ProblemsOfRealLogsLandOnTheUsersLines)
{
    const std::string undefined = "Undefined control sequence.";
    const struct {
        const char* name;
        std::vector<LatexProblem> expected;
    } cases[] = {
        {"undefined", {Error("undefined/undefined.tex", 5, undefined)}},
        {"dollar", {Error("dollar/dollar.tex", 5, "Missing $ inserted."), Error("dollar/dollar.tex", 6, "Missing $ inserted.")}},
        {"runaway",
         {Error("runaway/runaway.tex", 7, "Paragraph ended before \\text@command was complete."),
          Error("runaway/runaway.tex", 7, "Too many }'s.")}},
        {"missing_input",
         {Error("missing_input/missing_input.tex", 4, "LaTeX Error: File `notthere.tex' not found."),
          Error("missing_input/missing_input.tex", 4, "Emergency stop.")}},
        {"overfull",
         {Warning("overfull/overfull.tex", 5, "Overfull \\hbox (142.76149pt too wide)"),
          Warning("overfull/overfull.tex", 7, "Overfull \\hbox (264.80554pt too wide) in paragraph"),
          Warning("overfull/overfull.tex", 11, "Reference `nowhere' on page 1 undefined")}},
        {"nested",
         {Error("nested/chapters/detail.tex", 2, undefined), Error("nested/chapters/intro.tex", 4, undefined),
          Error("nested/nested.tex", 5, undefined)}},
        {"prepared",
         {Error("prepared/prepared.tex", 10, undefined), Error("prepared/parts/section.tex", 5, undefined),
          Error("prepared/prepared.tex", 13, undefined)}},
    };
    for (const auto& example : cases) {
        SCOPED_TRACE(example.name);
        EXPECT_THAT(ProblemsOf(example.name), ElementsAreArray(example.expected));
    }
}

TEST(ProblemMappingTest, OtherFilesAreResolvedAndErrorsComeFirst)
{
    SourceSet sources;
    sources["main.tex"] = SourceFile{"/home/u/Main.tex", "a\n%begin{html}\nb\n%end\nc\n", SourceLineMap("a\n%begin{html}\nb\n%end\nc\n")};
    sources["main.tex"].lines.RemoveLines(2, 1);
    const std::vector<LatexProblem> logged = {
        {ProblemSeverity::Warning, "w", "./main.tex", 4},
        {ProblemSeverity::Error, "e1", "main.tex", 3},
        {ProblemSeverity::Error, "e2", "/usr/share/t.sty", 7},
        {ProblemSeverity::Warning, "w2", "sub/../other.tex", 2},
        {ProblemSeverity::Error, "e3", "", 0},
    };
    EXPECT_THAT(ProblemsInUserFiles(logged, LoggedFiles{sources, "/run", "/home/u/Main.tex"}),
                ElementsAreArray(std::vector<LatexProblem>{
                    {ProblemSeverity::Error, "e1", "/home/u/Main.tex", 4},
                    {ProblemSeverity::Error, "e2", "/usr/share/t.sty", 7},
                    {ProblemSeverity::Error, "e3", "/home/u/Main.tex", 0},
                    {ProblemSeverity::Warning, "w", "/home/u/Main.tex", 5},
                    {ProblemSeverity::Warning, "w2", "/run/other.tex", 2},
                }));
}

}  // namespace
