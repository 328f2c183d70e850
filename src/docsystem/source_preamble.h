#pragma once

#include "docsystem/documentation_callback.h"
#include "docsystem/postprocess_table.h"

#include <memory>
#include <set>
#include <string>
#include <vector>

// A text and the LaTeX that replaces it in the sources.
struct EntityPair {
    std::string from;
    std::string to;
};

// What template/preprocess.txt and the post-processing rules give the source preparation: the LaTeX
// definitions inserted at "%replace_entities" and the entity pairs applied to every source.
struct SourcePreamble {
    std::string text;
    std::vector<EntityPair> entityPairs;
    std::set<std::string> knownCommands;
};

// Builds the preamble from the content of a preprocess file and the post-processing rules.
SourcePreamble BuildSourcePreamble(const std::string& preprocessText, const PostProcessTable& rules);

// The process-wide preamble, built once from template/preprocess.txt and the shared post-processing
// table. Null while the file cannot be read, so that a later call tries again. Thread-safe.
std::shared_ptr<const SourcePreamble> SharedSourcePreamble(DocumentationCallback& callback);
