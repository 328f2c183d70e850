#pragma once

#include "docsystem/documentation_callback.h"

#include <string>

// Whether the LaTeX log at logPath has an error line (a line feed directly followed by "!").
// A log that cannot be read is clean.
LogState CheckLatexLog(const std::string& logPath);
