#include "docsystem/fake_processing_server.h"
#include "program_runner.h"
#include "utils/non_regular_files.h"
#include "utils/test_scratch_directory.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

using app::testing::ProgramResult;
using app::testing::RunProgram;
using docsystem::testing::FakeProcessingServer;
using docsystem::testing::FakeServerScript;
using docsystem::testing::Result;
using ::testing::EndsWith;
using ::testing::HasSubstr;
using ::testing::StartsWith;

namespace {

const std::string documentText = "\\documentclass{article}\n\\begin{document}\nText\n\\end{document}\n";

// A document directory, an empty data directory and a configuration home, all private to the test.
class WindowlessProgramTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::filesystem::create_directories(root / "data/template");
        std::filesystem::create_directories(root / "config/TVL");
        std::filesystem::create_directories(root / "doc");
        utils::testing::WriteFile(Document("Paper.tex"), documentText);
    }

    std::string Document(const std::string& name) const { return root / ("doc/" + name); }

    void WriteSettings(const std::string& content) const
    {
        utils::testing::WriteFile(root / "config/TVL/Quillwright.conf", content);
    }

    ProgramResult Run(const std::vector<std::string>& arguments) const
    {
        return RunProgram(QUILLWRIGHT_PROGRAM, arguments,
                          {{"QUILLWRIGHT_HOME", root / "data"}, {"XDG_CONFIG_HOME", root / "config"}, {"HOME", root.Path()}});
    }

    utils::testing::ScratchDirectory root;
};

}  // namespace

TEST_F(WindowlessProgramTest, UsageErrorsExitWith64AndShowTheUsage)
{
    const std::vector<std::vector<std::string>> invocations = {
        {"--output", "pdf"},
        {"--output", "dvi", "paper.tex"},
        {"--output"},
        {"--output", "ps", "--colour", "paper.tex"},
        {"--output", "ps", "a.tex", "b.tex"},
        {"--address", "host:1", "paper.tex"},
        {"--output", "ps", "--output", "pdf", "paper.tex"},
    };
    for (const auto& arguments : invocations) {
        const ProgramResult result = Run(arguments);
        EXPECT_EQ(result.exitStatus, 64) << arguments.back();
        EXPECT_THAT(result.standardError, StartsWith("quillwright: "));
        EXPECT_THAT(result.standardError, HasSubstr("usage: quillwright --output ps|pdf|html"));
    }
    const ProgramResult help = Run({"--help"});
    EXPECT_EQ(help.exitStatus, 0);
    EXPECT_THAT(help.standardOutput, StartsWith("usage: quillwright --output ps|pdf|html"));
}

TEST_F(WindowlessProgramTest, WithoutOutputOptionAndWithoutDisplayNoWindowOpens)
{
    // The program would open its window; without a display (or in a build without the window) it
    // says so and points to the window-less mode.
    const ProgramResult result = RunProgram(QUILLWRIGHT_PROGRAM, {Document("Paper.tex")},
                                            {{"QUILLWRIGHT_HOME", root / "data"},
                                             {"XDG_CONFIG_HOME", root / "config"},
                                             {"HOME", root.Path()},
                                             {"DISPLAY", ""},
                                             {"WAYLAND_DISPLAY", ""},
                                             {"QT_QPA_PLATFORM", ""}});
    EXPECT_NE(result.exitStatus, 0);
    EXPECT_THAT(result.standardError, StartsWith("quillwright: "));
    EXPECT_THAT(result.standardError, HasSubstr("quillwright --output ps|pdf|html FILE"));
}

TEST_F(WindowlessProgramTest, SuccessfulJobListsItsResultsAndShowsProgress)
{
    FakeServerScript script;
    script.results = {Result("paper.log", "This is TeX\n"), Result("paper.pdf", "%PDF-1.4\n")};
    FakeProcessingServer server(script);

    const ProgramResult result = Run({"--output", "pdf", "--address", server.Address(), Document("Paper.tex")});

    EXPECT_EQ(result.exitStatus, 0) << result.standardError;
    EXPECT_EQ(result.standardOutput, Document("Paper.pdf") + "\n");
    EXPECT_THAT(result.standardError, StartsWith("Generating LaTeX source...\nConnecting...\nSending files\n"));
    EXPECT_THAT(result.standardError, HasSubstr("\nWaiting for reply...\nReceiving files: 0 of 0kB\n"));
    EXPECT_EQ(utils::testing::ReadFile(Document("Paper.pdf")), "%PDF-1.4\n");
    EXPECT_THAT(server.Record().script, HasSubstr("run tex2pdf paper.tex\nget paper.pdf:\n"));
}

TEST_F(WindowlessProgramTest, JobErrorExitsWith1WithItsMessage)
{
    std::string releasedAddress;
    {
        FakeProcessingServer released{FakeServerScript{}};
        releasedAddress = released.Address();
    }
    const ProgramResult result = Run({"--output", "ps", "--address", releasedAddress, Document("Paper.tex")});
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_THAT(result.standardError,
                HasSubstr("Documentation system error:\nFailed to connect to remote host: Connection refused\n"));
    EXPECT_EQ(result.standardOutput, "");
}

TEST_F(WindowlessProgramTest, LatexProblemsArePrintedInTheUsersFilesWithTheLogForErrors)
{
    const std::string errorLog = "This is TeX\n(./paper.tex\n! Undefined control sequence.\nl.3 \\foo\n      bar\n"
                                 "\nLaTeX Warning: Reference `x' on page 1 undefined on input line 2.\n\n"
                                 "! Missing $ inserted.\n)\n";
    const std::string warningLog = "This is TeX\n(./paper.tex\nOverfull \\hbox (3.0pt too wide) in paragraph at lines 3--4\n\n)\n";
    const std::string paper = Document("Paper.tex");
    const std::string errorLines = paper + ":3: error: Undefined control sequence.\n" + paper +
                                   ": error: Missing $ inserted.\n" + paper +
                                   ":2: warning: Reference `x' on page 1 undefined\n";
    const struct {
        std::string log;
        int exitStatus;
        std::string problemLines;
    } cases[] = {
        {errorLog, 2, errorLines + "LaTeX reported errors; the log is " + Document("Paper.log") + "\n"},
        {warningLog, 0, paper + ":3: warning: Overfull \\hbox (3.0pt too wide) in paragraph\n"},
    };
    for (const auto& example : cases) {
        SCOPED_TRACE(example.log);
        FakeServerScript script;
        script.results = {Result("paper.log", example.log), Result("paper.ps", "%!PS\n")};
        FakeProcessingServer server(script);

        const ProgramResult result = Run({"--output", "ps", "--address", server.Address(), paper});

        EXPECT_EQ(result.exitStatus, example.exitStatus);
        EXPECT_EQ(result.standardOutput, Document("Paper.ps") + "\n");
        EXPECT_THAT(result.standardError, EndsWith("\n" + example.problemLines));
    }
}

TEST_F(WindowlessProgramTest, SettingsFileGivesAddressAndOptionsUnlessTheCommandLineReplacesThem)
{
    FakeServerScript script;
    {
        FakeProcessingServer server(script);
        WriteSettings("[settings]\naddress=" + server.Address() + "\ncmdline=\"-split 5\"\n");
        const ProgramResult result = Run({"--output", "html", Document("Paper.tex")});
        EXPECT_EQ(result.exitStatus, 0) << result.standardError;
        EXPECT_THAT(server.Record().script, HasSubstr("run tex2html paper.tex -split 5\n"));
    }
    {
        FakeProcessingServer server(script);
        WriteSettings("[settings]\naddress=127.0.0.1:1\ncmdline=-split 5\n");
        const ProgramResult result =
            Run({"--output", "html", "--address", server.Address(), "--html-options=-split 1", Document("Paper.tex")});
        EXPECT_EQ(result.exitStatus, 0) << result.standardError;
        EXPECT_THAT(server.Record().script, HasSubstr("run tex2html paper.tex -split 1\n"));
    }
}

TEST_F(WindowlessProgramTest, LocalRunWithTheBundledScriptMakesPostScript)
{
    if (std::system("command -v latex >/dev/null 2>&1 && command -v dvips >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "latex and dvips are not installed";
    const std::string script = std::string(QUILLWRIGHT_SOURCE_DIR) + "/scripts/local-latex.sh";

    const ProgramResult good = Run({"--output", "ps", "--local", script, Document("Paper.tex")});
    EXPECT_EQ(good.exitStatus, 0) << good.standardError;
    EXPECT_EQ(good.standardOutput, Document("Paper.ps") + "\n");
    EXPECT_THAT(utils::testing::ReadFile(Document("Paper.ps")), StartsWith("%!PS"));

    utils::testing::WriteFile(Document("Broken.tex"), "\\documentclass{article}\n\\begin{document}\n\\foo\nSome text.\n\\end{document}\n");
    const ProgramResult broken = Run({"--output", "ps", "--local", script, Document("Broken.tex")});
    EXPECT_EQ(broken.exitStatus, 2) << broken.standardError;
    EXPECT_THAT(broken.standardError, HasSubstr(Document("Broken.tex") + ":3: error: Undefined control sequence.\n"));
}

TEST_F(WindowlessProgramTest, AFileThatIsNotARegularFileIsRefusedWithWhatItIs)
{
    const utils::testing::SpecialFiles specialFiles(root / "doc");
    for (const utils::testing::SpecialFile& file : specialFiles.All()) {
        SCOPED_TRACE(file.kind);
        FakeProcessingServer server{FakeServerScript{}};
        const ProgramResult result = Run({"--output", "ps", "--address", server.Address(), file.path});
        EXPECT_EQ(result.exitStatus, 1);
        EXPECT_THAT(result.standardError, HasSubstr("Documentation system error:\nfailed to open " + file.path +
                                                    "\nIt is " + file.kind + ", not a regular file.\n"));
        EXPECT_EQ(server.Record().uploaded, "");
    }
    EXPECT_FALSE(specialFiles.PipeReaderWasReleased()) << "the program waited on the named pipe";
}
