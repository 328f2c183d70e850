#pragma once

#include "docsystem/source_line_map.h"

#include <map>
#include <string>

// One collected source: where it was read from, its text as it will be uploaded, and where the
// lines of that text came from in the file.
struct SourceFile {
    std::string path;
    std::string text;
    SourceLineMap lines;
};

// The sources of one job by flat upload name; the map's byte order is the upload order.
using SourceSet = std::map<std::string, SourceFile>;
