#pragma once

#include <map>
#include <string>
#include <vector>

// Settings a LaTeX document gives itself in comment lines ("%" key, one blank, value).
// Everything starts empty; the extra files named by "putfile" go to the job's extra-file list.
struct DocumentSettings {
    std::string commandLine;    // "cmdline": options of the HTML conversion; empty means the default
    std::string htmlDirectory;  // "htmldir": output directory of the HTML pages
    std::string styleSheet;     // "stylesheet"
    std::string encoding;       // "encoding": character set of the HTML pages
    std::string processor;      // "processor": PostScript service; empty means "tex2ps"
    std::string language;       // "language": "czech" selects the Czech HTML service
    std::string footer;         // "footer": page footer of the HTML pages
    std::map<std::string, std::string> translationTable;  // accumulated from "translationTable" files
    std::vector<std::string> headCommands;                // "headcmd" lines, in order
};
