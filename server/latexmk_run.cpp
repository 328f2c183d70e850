#include "latexmk_run.h"

#include <fstream>
#include <stdexcept>

namespace torvel {

namespace {

// The graphics packages' own EPS-to-PDF rule, loaded as they load it when shell escape is allowed;
// without shell escape it takes the converted file that is already there.
const char* const kTakeConvertedFigures =
    "$pre_tex_code = '\\makeatletter\\AddToHook{begindocument/before}{\\@ifpackageloaded{graphics}"
    "{\\edef\\Gin@extensions{\\Gin@extensions,.eps,.ps}\\RequirePackage{epstopdf-base}}{}}\\makeatother';\n";

}  // namespace

std::string LatexmkConfiguration(EncapsulatedFigures figures)
{
    const bool converted = figures == EncapsulatedFigures::ConvertedBeforehand;
    // Perl, read by latexmk only. Commands given as lists run without a shell.
    return std::string(converted ? kTakeConvertedFigures : "") +
           "$latex = 'latex -no-shell-escape -interaction=nonstopmode %O %S';\n"
           "$pdflatex = 'pdflatex -no-shell-escape -interaction=nonstopmode %O " + (converted ? "%P" : "%S") + "';\n"
           "$bibtex = 'bibtex %O %B';\n"
           "$biber = 'biber %O %S';\n"
           "$makeindex = 'makeindex %O -o %D %S';\n"
           "$bibtex_use = 2;\n"
           "$max_repeat = 5;\n"
           "$postscript_mode = 0;\n"
           "$preview_mode = 0;\n"
           "$preview_continuous_mode = 0;\n"
           "add_cus_dep('glo', 'gls', 0, 'run_makeglossaries');\n"
           "add_cus_dep('acn', 'acr', 0, 'run_makeglossaries');\n"
           "sub run_makeglossaries { return system('makeglossaries', '-q', $_[0]); }\n"
           "1;\n";
}

void WriteLatexmkConfiguration(const std::filesystem::path& path, EncapsulatedFigures figures)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << LatexmkConfiguration(figures);
    if (!file.flush())
        throw std::runtime_error("cannot write the latexmk configuration " + path.string());
}

std::vector<std::string> LatexmkCommand(TexEngine engine, const std::string& configuration, const std::string& mainFile)
{
    // -norc before -r: no configuration of the host, the user or the job directory is read.
    return {"latexmk", "-norc", "-r", configuration, engine == TexEngine::Pdflatex ? "-pdf" : "-dvi", mainFile};
}

}  // namespace torvel
