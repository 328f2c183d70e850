#pragma once

#include "docsystem/documentation_job.h"

#include <string>

// Replaces, scanning left to right, the longest key of the job's translation table that matches at
// each position by its value; replaced text is not scanned again.
void ApplyTranslationTable(std::string& text, const DocumentationJob& job);
