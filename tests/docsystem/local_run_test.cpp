#include "docsystem/job_test_support.h"
#include "docsystem/local_run.h"
#include "utils/string_utils.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

using namespace docsystem::testing;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::Pair;

namespace {

// A stand-in for the LaTeX script: records its arguments and working directory, writes the results
// and exits with the status given in the document's directory ("status" file, default 0).
const std::string recordingScript = R"(printf '%s\n' "$@" > arguments.txt
pwd -P > directory.txt
printf '%%!PS\n' > "$2.ps"
if [ -f error-log ]; then printf 'This is TeX\n! Emergency stop.\nl.7 \\bad\n' > "$2.log"; else printf 'This is TeX\n' > "$2.log"; fi
exit $(cat status 2>/dev/null || echo 0)
)";

class LocalRunTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        script = workspace.Write("scripts dir/run \"latex\".sh", recordingScript);
        document = workspace.Write("doc/my docs/Paper.tex", "\\documentclass{article}\n");
    }

    std::map<JobParameter, std::string> Parameters() const
    {
        auto parameters = workspace.Parameters("unused:1");
        parameters[JobParameter::LatexBatchFile] = script;
        return parameters;
    }

    CallbackRecord Run(std::map<JobParameter, std::string> parameters) const
    {
        return workspace.Run(JobLocation::Local, OutputMode::PostScript, document, std::move(parameters));
    }

    std::string InDocumentDirectory(const std::string& name) const { return workspace.DocumentFile("my docs/" + name); }

    JobWorkspace workspace;
    ReportedErrors errors;
    std::string script;
    std::string document;
};

}  // namespace

TEST_F(LocalRunTest, ScriptGetsDataDirectoryAndBaseNameAndRunsInTheDocumentDirectory)
{
    const CallbackRecord record = Run(Parameters());

    EXPECT_THAT(errors.Texts(), IsEmpty());
    const std::string dataDirectory = std::filesystem::canonical(workspace.DataDirectory()).string();
    EXPECT_EQ(workspace.Read(InDocumentDirectory("arguments.txt")), dataDirectory + "\nPaper\n");
    EXPECT_EQ(workspace.Read(InDocumentDirectory("directory.txt")),
              std::filesystem::canonical(InDocumentDirectory("")).string() + "\n");
    EXPECT_THAT(record.progressTexts, ElementsAre("Running LaTeX..."));
    EXPECT_THAT(record.logs, ElementsAre(Pair(InDocumentDirectory("Paper.log"), LogState::Clean)));
    EXPECT_THAT(record.storedResults, ElementsAre(InDocumentDirectory("Paper.ps")));
    EXPECT_THAT(record.outputs, IsEmpty());
    EXPECT_TRUE(record.destroyed);
}

TEST_F(LocalRunTest, PostScriptIsShownOnRequestAndLogErrorsAreFlagged)
{
    workspace.Write("doc/my docs/error-log", "");
    auto parameters = Parameters();
    parameters[JobParameter::ShowPostScript] = "1";
    parameters[JobParameter::HiddenInterpreter] = "1";

    const CallbackRecord record = Run(parameters);

    EXPECT_THAT(errors.Texts(), IsEmpty()) << "LaTeX errors in the log are no job error";
    EXPECT_THAT(record.outputs, ElementsAre(Pair(2, InDocumentDirectory("Paper.ps"))));
    EXPECT_THAT(record.logs, ElementsAre(Pair(InDocumentDirectory("Paper.log"), LogState::HasErrors)));
}

TEST_F(LocalRunTest, FailuresAreReportedWithTheirOwnTexts)
{
    auto noScript = Parameters();
    noScript[JobParameter::LatexBatchFile] = "";
    CallbackRecord record = Run(noScript);
    EXPECT_FALSE(workspace.Exists(InDocumentDirectory("arguments.txt"))) << "nothing is started without a script";
    EXPECT_THAT(record.logs, IsEmpty());

    auto missingScript = Parameters();
    missingScript[JobParameter::LatexBatchFile] = workspace.DocumentFile("absent.sh");
    Run(missingScript);

    workspace.Write("doc/my docs/status", "3");
    record = Run(Parameters());
    EXPECT_THAT(record.logs, IsEmpty());

    EXPECT_THAT(errors.Texts(), ElementsAre("Documentation system error:\nFailed to create DOS alias for\n\nNo such file or directory",
                                            "Documentation system error:\nFailed to create DOS alias for\n"
                                                + workspace.DocumentFile("absent.sh") + "\nNo such file or directory",
                                            "Documentation system error:\nError occured during executing LaTeX"));
}

TEST(QuotedCommandArgumentTest, SurvivesTheSplitOfTheProcessStarter)
{
    for (const std::string argument : {"plain", "with blank", "a\"quote", "\"leading", "trailing\"", "two \"\" quotes", "\""}) {
        const std::string commandLine = "program " + QuotedCommandArgument(argument) + " last";
        EXPECT_THAT(utils::SplitFields(commandLine, ' '), ElementsAre("program", argument, "last")) << commandLine;
    }
}
