#pragma once

#include "job_directory.h"
#include "tool_runner.h"

#include <string>
#include <vector>

namespace torvel {

// True when LaTeX's log says that another run would change the output (labels, citations,
// outlines).
bool LogRequestsRerun(const std::string& logText);

// True when the log holds an error line (one that begins with "!").
bool LogShowsErrors(const std::string& logText);

struct LatexRuns {
    ToolResult lastRun;
    int runs = 0;
    bool errors = false;
};

constexpr int kMaximumLatexRuns = 5;

// Runs the LaTeX `command` (whose job name is `base`) until LaTeX stops asking for another run and its
// table of contents and lists stop changing, at most `maximumRuns` times; stops at the first run with
// errors.
LatexRuns RunLatexUntilStable(ToolRunner& runner, const JobPaths& job, const std::vector<std::string>& command,
                              const std::string& base, int maximumRuns);

std::string ReadWholeFile(const std::filesystem::path& path);

}  // namespace torvel
