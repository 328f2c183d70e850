#pragma once

#include "docsystem/latex_problem.h"
#include "docsystem/source_set.h"

#include <string>
#include <vector>

// Where the files of a job's LaTeX run came from.
struct LoggedFiles {
    const SourceSet& sources;   // the uploaded sources by upload name; empty for a local run
    std::string logDirectory;   // the directory LaTeX ran in, for relative names of other files
    std::string documentPath;   // the file of problems that arose outside every file
};

// The problems as the log tells them, moved to the user's files: an uploaded source's name becomes
// its original path and its line the original line; other files are resolved against the log's
// directory. Errors come first, then warnings, each in the order of the log.
std::vector<LatexProblem> ProblemsInUserFiles(std::vector<LatexProblem> logged, const LoggedFiles& files);
