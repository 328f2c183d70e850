#pragma once

#include "docsystem/documentation_callback.h"
#include "docsystem/source_preamble.h"

#include <string>

// Inserts the preamble of the source's encoding before "%replace_entities" and replaces that
// encoding's entity texts outside comments, from that marker on (from the start when there is none).
void ApplySourcePreamble(std::string& text, const SourcePreamble& preamble, TextEncoding encoding);

// ApplySourcePreamble with the process-wide preamble; does nothing while preprocess.txt is missing.
void ReplaceEntities(std::string& text, TextEncoding encoding, DocumentationCallback& callback);
