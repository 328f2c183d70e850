#pragma once

#include "docsystem/documentation_callback.h"
#include "docsystem/output_mode.h"
#include "docsystem/source_set.h"

#include <string>
#include <vector>

// Reads the LaTeX file at filePath and, recursively, every file it includes with \input{...} into
// sources under unique flat upload names, rewriting the references to those names. The EPS graphics
// the texts name are appended to extraFiles (when given) and their references cut to the lower-cased
// file name. Included files are looked for in directory. With extraFiles given, the files that
// the commands of CollectedReferenceKinds() name and that exist are added to it as well, their
// names rewritten to the flat, lower-cased upload names; figures named without an extension are
// looked for in the extension order of the output `mode`. Returns the upload name of filePath.
// Throws std::runtime_error when a file cannot be read, the \input files form a cycle or two
// extra files would be uploaded under one name.
std::string CollectSources(const std::string& directory, const std::string& filePath, OutputMode mode,
                           std::vector<std::string>* extraFiles, SourceSet& sources,
                           DocumentationCallback& callback);
