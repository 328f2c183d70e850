#pragma once

#include "docsystem/documentation_job.h"

#include <string>

// The names a run derives from the document path.
struct JobNames {
    std::string documentDirectory;  // the path up to its last "/" or "\"
    std::string baseName;           // file name without directory and extension, lower-cased: sent to the server
    std::string documentBaseName;   // the same with its letter case: names the result files here
};

JobNames NamesOfDocument(const std::string& documentPath);

// The job's "htmldir" setting when it is set (a relative one taken from the document directory),
// else the document directory + "/" + the document's base name.
std::string OutputDirectory(const DocumentationJob& job, const JobNames& names);

// Where a result file announced as fileName (already reduced to a file name) is kept in directory:
// a name made of the lower-cased base name and an extension is stored under the document's own base
// name, so that Paper.tex gives Paper.pdf; other names are kept as they are.
std::string ResultFilePath(const std::string& directory, const std::string& fileName, const JobNames& names);
