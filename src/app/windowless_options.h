#pragma once

#include "docsystem/output_mode.h"

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace app {

// What "quillwright --output ps|pdf|html [--address HOST:PORT] [--html-options TEXT]
// [--local SCRIPT] FILE" asks for.
struct WindowlessOptions {
    OutputMode mode = OutputMode::PostScript;
    std::optional<std::string> address;      // replaces the "address" setting for this run
    std::optional<std::string> htmlOptions;  // replaces the "cmdline" setting for this run
    std::optional<std::string> localScript;  // runs LaTeX locally with this script
    std::string documentPath;                // absolute
};

class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Whether an argument asks for the usage text ("--help" or "-h").
bool AsksForHelp(const std::string& argument);

// Whether the arguments (without the program name) ask for the window-less mode: any of its options
// or a request for help.
bool RequestsWindowlessRun(const std::vector<std::string>& arguments);

// Throws UsageError with a one-line reason for anything that is not the form above.
WindowlessOptions ParseWindowlessOptions(const std::vector<std::string>& arguments);

// The usage text printed with a usage error, ending with a line break.
std::string WindowlessUsage();

}  // namespace app
