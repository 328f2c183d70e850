#pragma once

#include "docsystem/latex_problem.h"

#include <cstdint>
#include <string>
#include <vector>

// The numbers a job passes to DocumentationCallback::GetParameter.
enum class JobParameter : std::int32_t {
    ProgramDirectory = 0,   // data directory without a trailing separator; templates are in "template"
    ShowPostScript = 1,     // decimal number; non-zero shows the PostScript result after a run
    HiddenInterpreter = 3,  // decimal number; non-zero starts the local run's interpreter hidden
    LatexBatchFile = 4,     // path of the script of the local run
    ServerAddress = 5,      // host name, colon, port
    HtmlOptions = 6,        // default option string of the HTML conversion
    ResultSizeLimit = 7,    // decimal number of bytes the result files may have in all; empty: 2 GiB
    PhaseTimeLimit = 8,     // decimal number of seconds a phase of the server dialogue may take; empty: 30 minutes
};

// Whether a LaTeX log passed to ShowLog contains error lines.
enum class LogState {
    Clean,
    HasErrors,
};

// How a job reaches whoever started it. Implemented by the user interface (or the window-less
// program); the job owns its callback and deletes it with itself. Called from the job's thread.
class DocumentationCallback {
public:
    virtual ~DocumentationCallback() = default;

    virtual std::string GetParameter(JobParameter parameter) = 0;
    virtual void ShowOutput(std::int32_t outputKind, const std::string& filePath) = 0;
    virtual void ShowLog(const std::string& logPath, LogState state) = 0;
    // Called right before ShowLog with the log's errors and warnings in the user's files, errors
    // first. Whoever has no place to show them ignores them.
    virtual void ShowProblems(const std::vector<LatexProblem>& problems) { (void)problems; }
    virtual void SetProgressText(const std::string& text) = 0;
};
