#pragma once

#include "docsystem/documentation_callback.h"
#include "docsystem/postprocess_table.h"
#include "utils/utf8_characters.h"

#include <memory>
#include <set>
#include <string>
#include <vector>

// A text and the LaTeX that replaces it in the sources.
struct EntityPair {
    std::string from;
    std::string to;
};

// What the sources of one encoding get: the LaTeX definitions inserted at "%replace_entities" and
// the entity pairs applied to them.
struct EncodingPreamble {
    std::string text;
    std::vector<EntityPair> entityPairs;
    std::set<std::string> knownCommands;
};

// What template/preprocess.txt and the post-processing rules give the source preparation. A pair
// whose text is ASCII belongs to both encodings, one whose text is UTF-8 to UTF-8 sources only,
// any other to legacy sources only, so that no pair ever cuts a UTF-8 sequence apart.
struct SourcePreamble {
    EncodingPreamble utf8;
    EncodingPreamble legacy;

    const EncodingPreamble& For(TextEncoding encoding) const { return encoding == TextEncoding::Utf8 ? utf8 : legacy; }
};

// Builds the preamble from the content of a preprocess file and the post-processing rules.
SourcePreamble BuildSourcePreamble(const std::string& preprocessText, const PostProcessTable& rules);

// The process-wide preamble, built once from template/preprocess.txt and the shared post-processing
// table. Null while the file cannot be read, so that a later call tries again. Thread-safe.
std::shared_ptr<const SourcePreamble> SharedSourcePreamble(DocumentationCallback& callback);
