#pragma once

#include "docsystem/documentation_job.h"

// The local run: has the script named by parameter 4 run LaTeX in the document's directory
// ("/bin/sh SCRIPT DATADIR BASENAME"), then offers the log as the remote run does. Throws on any
// failure.
void RunLocalLatex(DocumentationJob& job);

// A command-line argument for the quote-aware splitter of the process starter: blanks and double
// quotes inside it survive the split.
std::string QuotedCommandArgument(const std::string& argument);
