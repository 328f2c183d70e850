#pragma once

#include <filesystem>
#include <string>

namespace torvel {

// True when the log holds an error line (one that begins with "!").
bool LogShowsErrors(const std::string& logText);

// What latexmk's output says went wrong, in one line: the bibliography files it could not find and
// its own summary of the failed rules ("bibtex paper: ..."), separated by "; ". Empty when it says
// neither.
std::string LatexmkProblems(const std::string& output);

std::string ReadWholeFile(const std::filesystem::path& path);

}  // namespace torvel
