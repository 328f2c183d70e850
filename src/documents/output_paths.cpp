#include "documents/output_paths.h"

#include "utils/file_utils.h"
#include "utils/string_utils.h"

namespace {

// D/B for the document D/B.EXT: the path without its last extension.
std::string PathWithoutExtension(const std::string& documentPath)
{
    const std::string fileName = utils::FileName(documentPath);
    const std::string directoryWithSeparator = documentPath.substr(0, documentPath.size() - fileName.size());
    return directoryWithSeparator + utils::FileName(documentPath, utils::Extension::Remove);
}

}  // namespace

std::string OutputFilePath(const std::string& documentPath, const std::string& extension)
{
    return PathWithoutExtension(documentPath) + "." + extension;
}

std::optional<std::string> HtmlOutputPage(const std::string& documentPath)
{
    const std::string outputDirectory = PathWithoutExtension(documentPath);
    const std::string baseName = utils::FileName(documentPath, utils::Extension::Remove);
    for (const std::string& page : {outputDirectory + "/" + baseName + ".html", outputDirectory + "/index.html"}) {
        if (utils::FileExists(page))
            return page;
    }
    return std::nullopt;
}
