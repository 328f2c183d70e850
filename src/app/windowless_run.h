#pragma once

#include <string>
#include <vector>

namespace app {

// Exit statuses of the window-less mode.
enum WindowlessExitStatus : int {
    ExitSuccess = 0,
    ExitJobError = 1,
    ExitLatexErrors = 2,
    ExitUsageError = 64,
};

// Runs "quillwright --output ..." with the arguments after the program name; returns the exit status.
int RunWindowless(const std::vector<std::string>& arguments);

}  // namespace app
