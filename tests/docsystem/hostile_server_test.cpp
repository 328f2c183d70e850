// Whole jobs against servers that misbehave on purpose: each job ends with a clear message, in
// bounded time and memory, and leaves no result file behind.
#include "docsystem/fake_processing_server.h"
#include "docsystem/job_test_support.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <thread>

using namespace docsystem::testing;
using test_support::LoopbackPeer;
using test_support::ReadExactly;
using test_support::ReadLineFrom;
using test_support::WriteText;
using ::testing::ElementsAre;

namespace {

using Misbehaviour = std::function<void(int socket)>;

// Sends `repeated` until the client hangs up, pausing between the sends.
void SendForever(int socket, const std::string& repeated, std::chrono::milliseconds pause)
{
    while (::send(socket, repeated.data(), repeated.size(), MSG_NOSIGNAL) > 0)
        std::this_thread::sleep_for(pause);
}

// A server that greets, takes the script and the uploads as it should, and then misbehaves.
LoopbackPeer::Script AfterTheUploads(Misbehaviour misbehaviour)
{
    return [misbehaviour](int socket) {
        WriteText(socket, "TORVEL server 2.1\n");
        std::string script;
        for (std::string line = ReadLineFrom(socket); !line.empty(); line = ReadLineFrom(socket)) {
            script += line;
            if (line == "commit\n")
                break;
        }
        WriteText(socket, "commit\n");
        ReadExactly(socket, AnnouncedUploadBytes(script));
        misbehaviour(socket);
    };
}

struct HostileServerCase {
    const char* name;
    LoopbackPeer::Script script;
    std::map<JobParameter, std::string> limits;
    const char* message;
};

const std::string errorPrefix = "Documentation system error:\n";
const std::string timedOut = "Failed to receive data: Connection timed out (the server did not finish within 1 second)";

}  // namespace

TEST(HostileServerTest, JobsEndWithAClearMessageAndNoResultFile)
{
    const std::chrono::milliseconds pause(100);
    const std::map<JobParameter, std::string> oneSecond = {{JobParameter::PhaseTimeLimit, "1"}};
    const HostileServerCase cases[] = {
        {"endless reply line", AfterTheUploads([](int socket) { SendForever(socket, std::string(4096, 'f'), {}); }), {},
         "Failed to receive data: Message too long (the server sent a line longer than 65536 bytes)"},
        {"greeting trickled byte by byte", [pause](int socket) { SendForever(socket, "T", pause); }, oneSecond, timedOut.c_str()},
        {"replies trickled byte by byte",
         AfterTheUploads([pause](int socket) { SendForever(socket, " ", pause); }), oneSecond, timedOut.c_str()},
        {"result data trickled byte by byte", AfterTheUploads([pause](int socket) {
             WriteText(socket, "file paper.ps:1000\ncommit\n%!PS");
             SendForever(socket, "x", pause);
         }),
         oneSecond, timedOut.c_str()},
        {"result larger than the default limit", AfterTheUploads([](int socket) {
             WriteText(socket, "file paper.log:10\nfile paper.ps:2147483640\ncommit\n0123456789%!PS");
             test_support::ReadToEnd(socket);
         }),
         {},
         "The server announced the result file \"paper.ps\" of 2147483640 bytes, which brings the results past the "
         "2147483648 bytes allowed; nothing was received.\nRaise the setting \"maxresultsize\" to accept larger results."},
        {"results larger than a lowered limit together", AfterTheUploads([](int socket) {
             WriteText(socket, "file paper.log:60\nfile paper.ps:50\ncommit\n");
             test_support::ReadToEnd(socket);
         }),
         {{JobParameter::ResultSizeLimit, "100"}},
         "The server announced the result file \"paper.ps\" of 50 bytes, which brings the results past the "
         "100 bytes allowed; nothing was received.\nRaise the setting \"maxresultsize\" to accept larger results."},
    };
    for (const HostileServerCase& hostile : cases) {
        SCOPED_TRACE(hostile.name);
        JobWorkspace workspace;
        const std::string document = workspace.Write("doc/paper.tex", "\\documentclass{article}\n");
        ReportedErrors errors;
        LoopbackPeer server(hostile.script);
        std::map<JobParameter, std::string> parameters = workspace.Parameters(server.Address());
        parameters.insert(hostile.limits.begin(), hostile.limits.end());
        const auto started = std::chrono::steady_clock::now();
        const CallbackRecord record = workspace.Run(JobLocation::Remote, OutputMode::PostScript, document, parameters);
        EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(10));
        EXPECT_THAT(errors.Texts(), ElementsAre(errorPrefix + hostile.message));
        EXPECT_TRUE(record.destroyed);
        EXPECT_THAT(record.storedResults, ::testing::IsEmpty());
        EXPECT_FALSE(workspace.Exists(workspace.DocumentFile("paper.ps")));
        EXPECT_FALSE(workspace.Exists(workspace.DocumentFile("paper.log")));
    }
}

TEST(HostileServerTest, ARaisedLimitAcceptsTheResults)
{
    JobWorkspace workspace;
    const std::string document = workspace.Write("doc/paper.tex", "\\documentclass{article}\n");
    ReportedErrors errors;
    FakeServerScript script;
    script.results = {Result("paper.log", std::string(60, 'l')), Result("paper.ps", std::string(50, 'p'))};
    FakeProcessingServer server(script);
    std::map<JobParameter, std::string> parameters = workspace.Parameters(server.Address());
    parameters[JobParameter::ResultSizeLimit] = "110";
    workspace.Run(JobLocation::Remote, OutputMode::PostScript, document, parameters);
    EXPECT_THAT(errors.Texts(), ::testing::IsEmpty());
    EXPECT_EQ(workspace.Read(workspace.DocumentFile("paper.ps")), std::string(50, 'p'));
}

TEST(HostileServerTest, LimitsThatAreNoPositiveNumbersAreReported)
{
    for (const auto& [parameter, value, message] : {
             std::tuple{JobParameter::ResultSizeLimit, "2G", "The setting \"maxresultsize\" must be a positive number of bytes, not \"2G\"."},
             std::tuple{JobParameter::PhaseTimeLimit, "0", "The setting \"phasetimelimit\" must be a positive number of seconds, not \"0\"."},
         }) {
        JobWorkspace workspace;
        const std::string document = workspace.Write("doc/paper.tex", "\\documentclass{article}\n");
        ReportedErrors errors;
        FakeProcessingServer server(FakeServerScript{});
        std::map<JobParameter, std::string> parameters = workspace.Parameters(server.Address());
        parameters[parameter] = value;
        workspace.Run(JobLocation::Remote, OutputMode::PostScript, document, parameters);
        EXPECT_THAT(errors.Texts(), ElementsAre(errorPrefix + message));
    }
}
