#include "app/windowless_run.h"

#include "app/problem_lines.h"
#include "app/progress_display.h"
#include "app/windowless_callback.h"
#include "app/windowless_options.h"
#include "docsystem/start_documentation_job.h"
#include "platform/ini_profile_file.h"
#include "utils/message_box.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <mutex>

namespace app {

namespace {

// The job reports its errors as message boxes; here they are collected for the exit status.
class ReportedErrorCollector {
public:
    ReportedErrorCollector()
    {
        utils::SetMessageBoxHandler([this](const std::string& text, unsigned int style) {
            const std::lock_guard lock(m_mutex);
            m_texts.push_back(text);
            return utils::DefaultAnswer(style);
        });
    }
    ~ReportedErrorCollector() { utils::SetMessageBoxHandler({}); }
    ReportedErrorCollector(const ReportedErrorCollector&) = delete;
    ReportedErrorCollector& operator=(const ReportedErrorCollector&) = delete;

    std::vector<std::string> Texts() const
    {
        const std::lock_guard lock(m_mutex);
        return m_texts;
    }

private:
    mutable std::mutex m_mutex;
    std::vector<std::string> m_texts;
};

void PrintProblems(const std::vector<LatexProblem>& problems)
{
    std::error_code error;
    const std::string workingDirectory = std::filesystem::current_path(error).string();
    for (const LatexProblem& problem : problems)
        std::fprintf(stderr, "%s\n", ProblemLine(problem, workingDirectory).c_str());
}

void PrintResults(const WindowlessOutcome& outcome)
{
    for (const std::string& path : outcome.results) {
        // The log is named only when it matters, below.
        if (!outcome.logPath || path != *outcome.logPath)
            std::printf("%s\n", path.c_str());
    }
    std::fflush(stdout);
}

int ExitStatusOf(const std::vector<std::string>& errors, const WindowlessOutcome& outcome)
{
    for (const std::string& error : errors)
        std::fprintf(stderr, "%s\n", error.c_str());
    if (!errors.empty())
        return ExitJobError;
    PrintProblems(outcome.problems);
    if (outcome.logPath && outcome.logState == LogState::HasErrors) {
        std::fprintf(stderr, "LaTeX reported errors; the log is %s\n", outcome.logPath->c_str());
        return ExitLatexErrors;
    }
    return ExitSuccess;
}

int RunJob(const WindowlessOptions& options, const platform::IniProfileFile& settings)
{
    ProgressDisplay display(stderr, ProgressDisplay::StyleFor(stderr));
    WindowlessOutcome outcome;
    std::vector<std::string> errors;
    {
        const ReportedErrorCollector collector;
        const JobLocation location = options.localScript ? JobLocation::Local : JobLocation::Remote;
        StartDocumentationJob(location, nullptr, options.mode, options.documentPath,
                              std::make_unique<WindowlessCallback>(options, settings, display, outcome));
        errors = collector.Texts();
    }
    display.Finish();
    PrintResults(outcome);
    return ExitStatusOf(errors, outcome);
}

}  // namespace

int RunWindowless(const std::vector<std::string>& arguments)
{
    if (std::any_of(arguments.begin(), arguments.end(), [](const std::string& argument) { return AsksForHelp(argument); })) {
        std::fputs(WindowlessUsage().c_str(), stdout);
        return ExitSuccess;
    }
    WindowlessOptions options;
    try {
        options = ParseWindowlessOptions(arguments);
    } catch (const UsageError& error) {
        std::fprintf(stderr, "quillwright: %s\n%s", error.what(), WindowlessUsage().c_str());
        return ExitUsageError;
    }
    platform::IniProfileFile settings(platform::IniProfileFile::DefaultPath());
    try {
        settings.Load();
    } catch (const std::exception& error) {
        std::fprintf(stderr, "quillwright: %s\n", error.what());
        return ExitJobError;
    }
    return RunJob(options, settings);
}

}  // namespace app
