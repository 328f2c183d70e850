#include "latex_bench_text.h"

#include <random>
#include <vector>

std::string GenerateLatexText(std::size_t size)
{
    static const std::vector<std::string> words = {
        "the", "buffer", "of", "text", "lines", "\\emph{undo}", "is", "a", "document", "with",
        "$x^2 + y^2$", "section", "and", "figure~\\ref{fig:plot}", "editor", "\\cite{knuth84}", "value"};
    std::mt19937 generator(42);
    std::string text;
    text.reserve(size + 200);
    text += "\\documentclass{article}\n\\begin{document}\n";
    int sectionNumber = 0;
    while (text.size() < size) {
        const unsigned kind = generator() % 20;
        if (kind == 0) {
            text += "\\section{Part " + std::to_string(++sectionNumber) + "}\n";
        } else if (kind == 1) {
            text += "% a comment about the next paragraph\n";
        } else if (kind == 2) {
            text += "\\begin{equation}\n  E = mc^2 \\label{eq:" + std::to_string(sectionNumber) + "}\n\\end{equation}\n";
        } else if (kind == 3) {
            text += "\n";
        } else {
            const unsigned wordCount = 6 + generator() % 12;
            for (unsigned index = 0; index < wordCount; ++index) {
                text += words[generator() % words.size()];
                text += index + 1 < wordCount ? ' ' : '\n';
            }
        }
    }
    text += "\\end{document}\n";
    return text;
}

