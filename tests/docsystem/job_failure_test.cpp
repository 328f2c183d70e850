#include "docsystem/fake_processing_server.h"
#include "docsystem/job_test_support.h"
#include "utils/non_regular_files.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

using namespace docsystem::testing;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

const std::string documentText = "\\documentclass{article}\n\\begin{document}\nText\n\\end{document}\n";
const std::string errorPrefix = "Documentation system error:\n";

class JobFailureTest : public ::testing::Test {
protected:
    void SetUp() override { workspace.Write("doc/paper.tex", documentText); }

    CallbackRecord RunAgainst(const std::string& address)
    {
        return workspace.Run(JobLocation::Remote, OutputMode::PostScript, workspace.DocumentFile("paper.tex"),
                             workspace.Parameters(address));
    }

    JobWorkspace workspace;
    ReportedErrors errors;
};

// Every failed run still ends: the callback is deleted and no log is offered.
void ExpectEndedWithoutResults(const CallbackRecord& record)
{
    EXPECT_TRUE(record.destroyed);
    EXPECT_THAT(record.logs, IsEmpty());
}

}  // namespace

TEST_F(JobFailureTest, AbortInTheFirstPhaseSendsNoData)
{
    FakeServerScript script;
    script.firstPhase = "working\nabort  out of disk space \n";
    FakeProcessingServer server(script);
    const CallbackRecord record = RunAgainst(server.Address());
    EXPECT_THAT(errors.Texts(), ElementsAre(errorPrefix + "Connection aborted: out of disk space"));
    EXPECT_EQ(server.Record().uploaded, "");
    ExpectEndedWithoutResults(record);
}

TEST_F(JobFailureTest, AbortInTheSecondPhaseAfterTheUpload)
{
    FakeServerScript script;
    script.secondPhaseEnd = "abort LaTeX crashed\n";
    FakeProcessingServer server(script);
    const CallbackRecord record = RunAgainst(server.Address());
    EXPECT_THAT(errors.Texts(), ElementsAre(errorPrefix + "Connection aborted: LaTeX crashed"));
    EXPECT_EQ(server.Record().uploaded, documentText);
    ExpectEndedWithoutResults(record);
}

TEST_F(JobFailureTest, FirstLineOtherThanTheGreetingEndsTheJobBeforeAnythingIsSent)
{
    const std::string wrongServer = "Invalid response from the server.\nPerhaps you are connecting to wrong server or service.";
    const struct {
        std::string firstLine;
        std::string message;
    } cases[] = {
        {"HTTP/1.1 400 Bad Request\n", wrongServer},
        {"torvel server 2\n", wrongServer},
        {"TORVEL serve\n", wrongServer},
        {"abortion\n", wrongServer},
        {"ABORT no\n", wrongServer},
        // A server that does not admit the client says why in place of its greeting.
        {"abort client address 127.0.0.1 is not allowed on this port\n",
         "Connection aborted: client address 127.0.0.1 is not allowed on this port"},
        {"abort  PROXY protocol header not accepted on this port \r\n",
         "Connection aborted: PROXY protocol header not accepted on this port"},
    };
    for (const auto& [firstLine, message] : cases) {
        SCOPED_TRACE(firstLine);
        ReportedErrors caseErrors;
        FakeServerScript script;
        script.greeting = firstLine;
        FakeProcessingServer server(script);
        const CallbackRecord record = RunAgainst(server.Address());
        EXPECT_THAT(caseErrors.Texts(), ElementsAre(errorPrefix + message));
        EXPECT_EQ(server.Record().script, "");
        ExpectEndedWithoutResults(record);
    }
}

TEST_F(JobFailureTest, GreetingNeedsOnlyItsPrefix)
{
    FakeServerScript script;
    script.greeting = "TORVEL server\r\n";
    FakeProcessingServer server(script);
    RunAgainst(server.Address());
    EXPECT_THAT(errors.Texts(), IsEmpty());
}

TEST_F(JobFailureTest, ConnectionClosedMidFileKeepsTheWholeFilesOnly)
{
    const std::string log = "This is TeX\n";
    const std::string postScript(50000, 'p');
    FakeServerScript script;
    script.results = {Result("paper.log", log), Result("paper.ps", postScript)};
    script.truncatedData = log + postScript.substr(0, 20000);
    FakeProcessingServer server(script);
    const CallbackRecord record = RunAgainst(server.Address());
    EXPECT_THAT(errors.Texts(), ElementsAre(errorPrefix + "Failed to receive data: Connection reset by peer"));
    EXPECT_EQ(workspace.Read(workspace.DocumentFile("paper.log")), log);
    // A result cut short would pass for a whole one.
    EXPECT_FALSE(workspace.Exists(workspace.DocumentFile("paper.ps")));
    ExpectEndedWithoutResults(record);
}

TEST_F(JobFailureTest, RefusedConnectionAndUnknownHostAreReported)
{
    std::string releasedAddress;
    {
        FakeProcessingServer released(FakeServerScript{});
        releasedAddress = released.Address();
    }
    const CallbackRecord refused = RunAgainst(releasedAddress);
    const CallbackRecord unknown = RunAgainst("no-such-host.invalid:3000");
    EXPECT_THAT(errors.Texts(), ElementsAre(errorPrefix + "Failed to connect to remote host: Connection refused",
                                            errorPrefix + "Failed to connect to remote host: Host not found (no-such-host.invalid)"));
    ExpectEndedWithoutResults(refused);
    ExpectEndedWithoutResults(unknown);
    EXPECT_EQ(refused.progressTexts, (std::vector<std::string>{"Generating LaTeX source...", "Connecting..."}));
}

TEST_F(JobFailureTest, UnreadableMainFileIsReported)
{
    FakeProcessingServer server(FakeServerScript{});
    const CallbackRecord record = workspace.Run(JobLocation::Remote, OutputMode::PostScript, workspace.DocumentFile("absent.tex"),
                                                workspace.Parameters(server.Address()));
    const auto texts = errors.Texts();
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0], errorPrefix + "failed to open " + workspace.DocumentFile("absent.tex"));
    ExpectEndedWithoutResults(record);
}

TEST_F(JobFailureTest, SourcesThatAreNotFilesAreRefusedWithWhatTheyAre)
{
    const std::string documentDirectory = std::filesystem::path(workspace.DocumentFile("paper.tex")).parent_path();
    const utils::testing::SpecialFiles specialFiles(documentDirectory);
    for (const utils::testing::SpecialFile& file : specialFiles.All()) {
        const std::string expected =
            errorPrefix + "failed to open " + file.path + "\nIt is " + file.kind + ", not a regular file.";
        const std::string reference = std::filesystem::path(file.path).stem().string();
        // As the main document (the command line of the window-less mode) and as an \input file.
        for (const std::string& documentPath : {file.path, workspace.Write("doc/main.tex", "\\input{" + reference + "}\n")}) {
            SCOPED_TRACE(documentPath);
            ReportedErrors caseErrors;
            FakeProcessingServer server(FakeServerScript{});
            const CallbackRecord record = workspace.Run(JobLocation::Remote, OutputMode::PostScript, documentPath,
                                                        workspace.Parameters(server.Address()));
            EXPECT_THAT(caseErrors.Texts(), ElementsAre(expected));
            EXPECT_EQ(server.Record().uploaded, "");
            ExpectEndedWithoutResults(record);
        }
    }
    EXPECT_FALSE(specialFiles.PipeReaderWasReleased()) << "a reader waited on the named pipe";
}

TEST_F(JobFailureTest, SettingsThatNameOtherKindsOfFileAreRefusedWithWhatTheyAre)
{
    const std::string documentDirectory = std::filesystem::path(workspace.DocumentFile("paper.tex")).parent_path();
    const utils::testing::SpecialFiles specialFiles(documentDirectory);
    for (const std::string setting : {"%putfile ", "%putfile *-", "%translationTable "}) {
        for (const utils::testing::SpecialFile& file : specialFiles.All()) {
            const bool putfile = setting.starts_with("%putfile");
            // Directories named or matched by a putfile setting are no uploads.
            if (putfile && file.kind == "a directory")
                continue;
            SCOPED_TRACE(setting + file.kind);
            // "*-" with the kind's suffix makes a wildcard that matches this file only.
            const std::string name = std::filesystem::path(file.path).filename().string();
            const std::string value = setting.ends_with("*-") ? name.substr(name.find('-') + 1) : name;
            const std::string documentPath = workspace.Write("doc/main.tex", setting + value + "\n" + documentText);
            ReportedErrors caseErrors;
            FakeProcessingServer server(FakeServerScript{});
            const CallbackRecord record = workspace.Run(JobLocation::Remote, OutputMode::PostScript, documentPath,
                                                        workspace.Parameters(server.Address()));
            EXPECT_THAT(caseErrors.Texts(), ElementsAre(errorPrefix + "failed to open file\n" + file.path + "\nIt is " +
                                                        file.kind + ", not a regular file."));
            EXPECT_EQ(server.Record().uploaded, "");
            ExpectEndedWithoutResults(record);
        }
    }
    EXPECT_FALSE(specialFiles.PipeReaderWasReleased()) << "a reader waited on the named pipe";
}

TEST_F(JobFailureTest, PutfileDirectoryIsSkipped)
{
    workspace.Write("doc/figures/plot.eps", "%!PS");
    const std::string documentPath = workspace.Write("doc/main.tex", "%putfile figures\n" + documentText);
    FakeProcessingServer server(FakeServerScript{});
    workspace.Run(JobLocation::Remote, OutputMode::PostScript, documentPath, workspace.Parameters(server.Address()));
    EXPECT_THAT(errors.Texts(), IsEmpty());
    EXPECT_THAT(server.Record().script, ::testing::Not(::testing::HasSubstr("figures")));
}
