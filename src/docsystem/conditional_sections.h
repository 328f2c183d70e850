#pragma once

#include "docsystem/output_mode.h"
#include "docsystem/source_line_map.h"

#include <string>

// Removes the bodies of the sections ("%begin{kinds}" line to the next "%end" line) whose list of
// output kinds ("ps", "pdf", "html") does not name the kind of mode. The marker lines stay; the
// removed lines leave `lines`.
void ApplyConditionalSections(std::string& text, SourceLineMap& lines, OutputMode mode);
