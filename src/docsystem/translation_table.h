#pragma once

#include "docsystem/documentation_job.h"
#include "utils/utf8_characters.h"

#include <string>

// Replaces, scanning left to right, the longest key of the job's translation table that matches at
// each position by its value; replaced text is not scanned again. In a UTF-8 text keys match only
// whole characters, so no UTF-8 sequence is cut apart.
void ApplyTranslationTable(std::string& text, TextEncoding encoding, const DocumentationJob& job);
