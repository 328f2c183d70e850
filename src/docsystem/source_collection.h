#pragma once

#include "docsystem/documentation_callback.h"
#include "docsystem/source_set.h"

#include <string>
#include <vector>

// Reads the LaTeX file at filePath and, recursively, every file it includes with \input{...} into
// sources under unique flat upload names, rewriting the references to those names. The EPS graphics
// the texts name are appended to extraFiles (when given) and their references cut to the lower-cased
// file name. Included files are looked for in directory. Returns the upload name of filePath.
// Throws std::runtime_error when a file cannot be read or the \input files form a cycle.
std::string CollectSources(const std::string& directory, const std::string& filePath,
                           std::vector<std::string>* extraFiles, SourceSet& sources,
                           DocumentationCallback& callback);
