#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace torvel {

// The figures among a job's uploads, by what can show them: EPS (and PS) through dvips, PNG, JPEG
// and PDF through pdflatex only. File names, in directory order sorted by name.
struct UploadedFigures {
    std::vector<std::string> encapsulated;
    std::vector<std::string> bitmapOrPdf;
};

UploadedFigures FindUploadedFigures(const std::filesystem::path& work);

// The name under which the graphics packages look for the PDF made from an EPS figure when
// pdflatex cannot convert it itself: plot.eps -> plot-eps-converted-to.pdf.
std::string ConvertedFigureName(const std::string& encapsulated);

// "a.png, b.pdf and c.jpg".
std::string NameList(const std::vector<std::string>& names);

}  // namespace torvel
