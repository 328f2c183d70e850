#pragma once

#include "docsystem/documentation_callback.h"
#include "docsystem/documentation_job.h"

#include <string>

// Tells the job's callback the problems of the log at logPath in the user's files (through the
// line maps of the job's prepared sources), then the log itself: with errors when a line feed is
// directly followed by "!". A log that cannot be read is clean. LaTeX ran in the log's directory.
void ReportLatexLog(DocumentationJob& job, const std::string& logPath);
