#include "sandboxed_conversion.h"

#include "log_note.h"
#include "sandbox.h"
#include "tool_runner.h"

#include <charconv>
#include <iostream>

namespace torvel {
namespace {

// The chain inside stops itself at the time limit and says so in the log; the sandbox is only
// killed from outside when that did not happen shortly after.
constexpr auto kGraceForTheInside = std::chrono::seconds(3);
constexpr int kHighestResult = static_cast<int>(JobResult::OutputLimit);
const char* const kNoValue = "-";

std::int64_t Number(const std::string& text)
{
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size())
        throw std::invalid_argument("bad number \"" + text + "\"");
    return value;
}

std::vector<std::string> InsideCommand(const DocumentRequest& request, const ServerOptions& options,
                                       std::chrono::milliseconds remaining)
{
    std::vector<std::string> command = {kServerProgramInside,
                                        kRunConversionArgument,
                                        ServiceName(request.service),
                                        request.mainFile,
                                        std::to_string(options.timeLimit.count()),
                                        std::to_string(remaining.count()),
                                        std::to_string(options.maxOutput),
                                        request.htmlOptions.mathScaleFactor.value_or(kNoValue),
                                        request.htmlOptions.figureScaleFactor.value_or(kNoValue)};
    command.insert(command.end(), request.htmlOptions.arguments.begin(), request.htmlOptions.arguments.end());
    return command;
}

JobResult ConvertInOneSandbox(const DocumentRequest& request, const JobPaths& job, const Sandbox& sandbox,
                              const ServerOptions& options)
{
    const auto start = std::chrono::steady_clock::now();
    ToolRunner runner(sandbox, job, start + options.timeLimit + kGraceForTheInside, options.maxOutput);
    const ToolResult result = runner.Run(InsideCommand(request, options, options.timeLimit), job.transcript);
    const auto log = job.work / (request.BaseName() + ".log");
    if (result.outcome == ToolOutcome::TimeLimit) {
        NoteInLog(log, LimitNote(JobResult::TimeLimit, options.timeLimit, "the tool chain"));
        return JobResult::TimeLimit;
    }
    if (result.outcome == ToolOutcome::OutputLimit) {
        NoteInLog(log, LimitNote(JobResult::OutputLimit, options.timeLimit, "the tool chain"));
        return JobResult::OutputLimit;
    }
    if (result.exitStatus >= 0 && result.exitStatus <= kHighestResult)
        return static_cast<JobResult>(result.exitStatus);
    NoteInLog(log, "the sandbox of the job failed (exit status " + std::to_string(result.exitStatus) + "):\n" +
                       TranscriptTail(job.transcript));
    return JobResult::ToolFailed;
}

}  // namespace

JobResult ConvertDocument(const DocumentRequest& request, const JobPaths& job, const Sandbox& sandbox,
                          const ServerOptions& options)
{
    if (sandbox.Mode() == SandboxMode::Bubblewrap)
        return ConvertInOneSandbox(request, job, sandbox, options);
    ToolRunner runner(sandbox, job, std::chrono::steady_clock::now() + options.timeLimit, options.maxOutput);
    return DocumentConversion(request, runner, job, sandbox, options.timeLimit).Run();
}

int RunConversionInside(const std::vector<std::string>& arguments)
{
    constexpr std::size_t kFixedArguments = 7;
    try {
        if (arguments.size() < kFixedArguments)
            throw std::invalid_argument("too few arguments");
        DocumentRequest request;
        request.service = ServiceNamed(arguments[0]);
        request.mainFile = arguments[1];
        const std::chrono::seconds timeLimit(Number(arguments[2]));
        const std::chrono::milliseconds remaining(Number(arguments[3]));
        const auto maximumOutput = static_cast<std::uint64_t>(Number(arguments[4]));
        if (arguments[5] != kNoValue)
            request.htmlOptions.mathScaleFactor = arguments[5];
        if (arguments[6] != kNoValue)
            request.htmlOptions.figureScaleFactor = arguments[6];
        request.htmlOptions.arguments.assign(arguments.begin() + kFixedArguments, arguments.end());

        // Already inside: the tools run directly, in the sandbox's own directories.
        const Sandbox direct(SandboxMode::None);
        const JobPaths job{kWorkInside, kTemporaryInside, std::string(kTemporaryInside) + "/.torvel-transcript"};
        ToolRunner runner(direct, job, std::chrono::steady_clock::now() + remaining, maximumOutput);
        return static_cast<int>(DocumentConversion(request, runner, job, direct, timeLimit).Run());
    } catch (const std::exception& failure) {
        std::cerr << "torvel-server: the tool chain failed: " << failure.what() << "\n";
        return 125;
    }
}

}  // namespace torvel
