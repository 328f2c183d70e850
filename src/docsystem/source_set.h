#pragma once

#include <map>
#include <string>

// One collected source: where it was read from and its text as it will be uploaded.
struct SourceFile {
    std::string path;
    std::string text;
};

// The sources of one job by flat upload name; the map's byte order is the upload order.
using SourceSet = std::map<std::string, SourceFile>;
