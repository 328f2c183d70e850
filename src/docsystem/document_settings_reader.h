#pragma once

#include "docsystem/documentation_job.h"

#include <string>

// Reads the settings lines ("%key value") of one prepared source text into the job: single values
// replace earlier ones, "putfile" entries join the extra files (wildcards expanded), "headcmd" lines
// accumulate and a named translation table is read into the job's table. Throws std::runtime_error
// when a named translation table cannot be opened.
void ReadDocumentSettings(const std::string& text, DocumentationJob& job);
