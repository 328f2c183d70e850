#include "docsystem/document_path.h"

#include "utils/file_utils.h"
#include "utils/string_utils.h"

std::string DocumentFilePath(const std::string& directory, const std::string& name)
{
    return directory + "/" + utils::Translate(name, "\\", "/");
}

std::string DocumentSettingPath(const std::string& directory, const std::string& name)
{
    const std::string path = utils::Translate(name, "\\", "/");
    return utils::IsAbsolutePath(path) ? path : directory + "/" + path;
}
