#pragma once

#include <optional>
#include <string>

// Where the output of a LaTeX document lies: beside it, named after it (only its last extension is
// replaced), and the HTML pages in a directory of that name.

// D/B.ps or D/B.pdf for the document D/B.tex; `extension` without its dot.
std::string OutputFilePath(const std::string& documentPath, const std::string& extension);

// D/B/B.html when it exists, else D/B/index.html when that exists, else nothing.
std::optional<std::string> HtmlOutputPage(const std::string& documentPath);
