#include "docsystem/document_path.h"

#include "utils/string_utils.h"

std::string DocumentFilePath(const std::string& directory, const std::string& name)
{
    return directory + "/" + utils::Translate(name, "\\", "/");
}
