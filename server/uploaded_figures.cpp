#include "uploaded_figures.h"

#include <algorithm>
#include <cctype>

namespace torvel {
namespace {

enum class FigureKind { None, Encapsulated, BitmapOrPdf };

std::string LowerCase(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

FigureKind KindOf(const std::string& name)
{
    const std::string extension = LowerCase(std::filesystem::path(name).extension().string());
    if (extension == ".eps" || extension == ".ps")
        return FigureKind::Encapsulated;
    if (extension == ".png" || extension == ".jpg" || extension == ".jpeg" || extension == ".pdf")
        return FigureKind::BitmapOrPdf;
    return FigureKind::None;
}

}  // namespace

UploadedFigures FindUploadedFigures(const std::filesystem::path& work)
{
    UploadedFigures figures;
    std::error_code error;
    for (auto entry = std::filesystem::directory_iterator(work, error);
         !error && entry != std::filesystem::directory_iterator(); entry.increment(error)) {
        std::error_code typeError;
        if (!entry->is_regular_file(typeError) || entry->is_symlink(typeError))
            continue;
        const std::string name = entry->path().filename().string();
        switch (KindOf(name)) {
        case FigureKind::Encapsulated: figures.encapsulated.push_back(name); break;
        case FigureKind::BitmapOrPdf: figures.bitmapOrPdf.push_back(name); break;
        case FigureKind::None: break;
        }
    }
    std::sort(figures.encapsulated.begin(), figures.encapsulated.end());
    std::sort(figures.bitmapOrPdf.begin(), figures.bitmapOrPdf.end());
    return figures;
}

std::string ConvertedFigureName(const std::string& encapsulated)
{
    const std::filesystem::path path(encapsulated);
    return path.stem().string() + "-" + path.extension().string().substr(1) + "-converted-to.pdf";
}

std::string NameList(const std::vector<std::string>& names)
{
    std::string list;
    for (std::size_t index = 0; index < names.size(); ++index) {
        if (index > 0)
            list += index + 1 == names.size() ? " and " : ", ";
        list += names[index];
    }
    return list;
}

}  // namespace torvel
