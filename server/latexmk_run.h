#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace torvel {

enum class TexEngine {
    Latex,     // DVI, for dvips: EPS figures
    Pdflatex,  // PDF directly: PNG, JPEG and PDF figures
};

enum class EncapsulatedFigures {
    Absent,
    ConvertedBeforehand,  // for pdflatex, each X.eps as X-eps-converted-to.pdf
};

// The configuration latexmk reads instead of any other: the TeX runs without shell escape and
// without stopping for input, BibTeX or Biber whenever the document has a bibliography, MakeIndex,
// and glossaries through makeglossaries. Its tools inherit paranoid file access from the
// environment of the sandbox. With EPS figures converted beforehand, pdflatex is told to take the
// converted files for them, which it would otherwise do only with shell escape.
std::string LatexmkConfiguration(EncapsulatedFigures figures);

// Writes LatexmkConfiguration(figures) to `path`.
void WriteLatexmkConfiguration(const std::filesystem::path& path, EncapsulatedFigures figures);

// The latexmk command that makes `mainFile` with `engine`, reading only the configuration at
// `configuration` (as the tool sees that path).
std::vector<std::string> LatexmkCommand(TexEngine engine, const std::string& configuration, const std::string& mainFile);

}  // namespace torvel
