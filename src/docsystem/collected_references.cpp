#include "docsystem/collected_references.h"

#include "utils/string_utils.h"

#include <algorithm>

const std::vector<ReferenceKind>& CollectedReferenceKinds()
{
    static const std::vector<ReferenceKind> kinds = {
        {"\\includegraphics", ArgumentForm::One, SearchPlace::GraphicsPath, Completion::GraphicExtensions, ""},
        {"\\documentclass", ArgumentForm::One, SearchPlace::DocumentDirectory, Completion::FixedExtension, ".cls"},
        {"\\LoadClass", ArgumentForm::One, SearchPlace::DocumentDirectory, Completion::FixedExtension, ".cls"},
        {"\\usepackage", ArgumentForm::CommaList, SearchPlace::DocumentDirectory, Completion::FixedExtension, ".sty"},
        {"\\RequirePackage", ArgumentForm::CommaList, SearchPlace::DocumentDirectory, Completion::FixedExtension, ".sty"},
        {"\\LoadLetterOption", ArgumentForm::One, SearchPlace::DocumentDirectory, Completion::FixedExtension, ".lco"},
        {"\\documentclass", ArgumentForm::OptionList, SearchPlace::DocumentDirectory, Completion::FixedExtension, ".lco"},
        {"\\bibliography", ArgumentForm::CommaList, SearchPlace::DocumentDirectory, Completion::FixedExtension, ".bib"},
        {"\\addbibresource", ArgumentForm::One, SearchPlace::DocumentDirectory, Completion::AsWritten, ""},
        {"\\bibliographystyle", ArgumentForm::One, SearchPlace::DocumentDirectory, Completion::FixedExtension, ".bst"},
    };
    return kinds;
}

const std::vector<std::string>& ExtensionsThatNameFiles()
{
    static const std::vector<std::string> extensions = {".cls", ".sty", ".lco"};
    return extensions;
}

const std::vector<std::string>& ExtensionsUploadedFromBesideTheDocument()
{
    // Index styles: makeindex is told of them by the document's own build instructions, not by a
    // command of the text.
    static const std::vector<std::string> extensions = {".ist"};
    return extensions;
}

namespace {

const std::vector<std::string> kDvipsExtensions = {".eps", ".ps", ".mps"};
const std::vector<std::string> kPdflatexExtensions = {".pdf", ".png", ".jpg", ".mps", ".jpeg", ".jbig2", ".jb2",
                                                      ".PDF", ".PNG", ".JPG", ".JPEG", ".JBIG2", ".JB2"};

std::vector<std::string> Joined(const std::vector<std::string>& first, const std::vector<std::string>& second)
{
    std::vector<std::string> joined = first;
    for (const std::string& extension : second) {
        if (std::find(joined.begin(), joined.end(), extension) == joined.end())
            joined.push_back(extension);
    }
    return joined;
}

}  // namespace

const std::vector<std::string>& GraphicExtensions(OutputMode mode)
{
    static const std::vector<std::string> forDvips = Joined(kDvipsExtensions, kPdflatexExtensions);
    static const std::vector<std::string> forPdflatex = Joined(kPdflatexExtensions, kDvipsExtensions);
    return mode == OutputMode::Pdf ? forPdflatex : forDvips;
}

bool HasGraphicExtension(const std::string& name)
{
    const std::string fileName = utils::FileName(name);
    const auto dot = fileName.rfind('.');
    if (dot == std::string::npos)
        return false;
    const std::vector<std::string>& all = GraphicExtensions(OutputMode::Pdf);
    return std::find(all.begin(), all.end(), fileName.substr(dot)) != all.end();
}
