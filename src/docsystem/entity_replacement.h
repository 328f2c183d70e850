#pragma once

#include "docsystem/documentation_callback.h"
#include "docsystem/source_line_map.h"
#include "docsystem/source_preamble.h"

#include <string>

// Inserts the preamble of the source's encoding before "%replace_entities" and replaces that
// encoding's entity texts outside comments, from that marker on (from the start when there is none).
// `lines` follows the lines it moves.
void ApplySourcePreamble(std::string& text, SourceLineMap& lines, const SourcePreamble& preamble, TextEncoding encoding);

// ApplySourcePreamble with the process-wide preamble; does nothing while preprocess.txt is missing.
void ReplaceEntities(std::string& text, SourceLineMap& lines, TextEncoding encoding, DocumentationCallback& callback);
