#include "latex_runs.h"


#include <array>
#include <fstream>
#include <sstream>

namespace torvel {
namespace {

// Files whose contents a following run reads back; when one changes, the pages may change too.
const std::array<const char*, 3> kListExtensions = {".toc", ".lof", ".lot"};

std::string ListSnapshot(const JobPaths& job, const std::string& base)
{
    std::string snapshot;
    for (const char* extension : kListExtensions)
        snapshot += ReadWholeFile(job.work / (base + extension)) + '\0';
    return snapshot;
}

}  // namespace

std::string ReadWholeFile(const std::filesystem::path& path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream contents;
    contents << file.rdbuf();
    return contents.str();
}

bool LogRequestsRerun(const std::string& logText)
{
    static const std::array<const char*, 4> requests = {"Rerun to get", "Please rerun LaTeX", "Label(s) may have changed",
                                                        "Rerun LaTeX"};
    for (const char* request : requests) {
        if (logText.find(request) != std::string::npos)
            return true;
    }
    return false;
}

bool LogShowsErrors(const std::string& logText)
{
    return logText.starts_with("!") || logText.find("\n!") != std::string::npos;
}

LatexRuns RunLatexUntilStable(ToolRunner& runner, const JobPaths& job, const std::vector<std::string>& command,
                              const std::string& base, int maximumRuns)
{
    LatexRuns runs;
    while (runs.runs < maximumRuns) {
        const std::string listsBefore = ListSnapshot(job, base);
        runs.lastRun = runner.Run(command, job.transcript);
        ++runs.runs;
        if (runs.lastRun.outcome != ToolOutcome::Finished)
            return runs;
        const std::string log = ReadWholeFile(job.work / (base + ".log"));
        runs.errors = runs.lastRun.exitStatus != 0 || LogShowsErrors(log);
        if (runs.errors)
            return runs;
        if (!LogRequestsRerun(log) && ListSnapshot(job, base) == listsBefore)
            return runs;
    }
    return runs;
}

}  // namespace torvel
