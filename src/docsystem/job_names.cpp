#include "docsystem/job_names.h"

#include "docsystem/document_path.h"
#include "utils/string_utils.h"

JobNames NamesOfDocument(const std::string& documentPath)
{
    JobNames names;
    names.documentDirectory = utils::DirectoryPart(documentPath);
    names.documentBaseName = utils::FileName(documentPath, utils::Extension::Remove);
    names.baseName = utils::ToLowerCase(names.documentBaseName);
    return names;
}

std::string OutputDirectory(const DocumentationJob& job, const JobNames& names)
{
    if (job.settings.htmlDirectory.empty())
        return names.documentDirectory + "/" + names.documentBaseName;
    return DocumentSettingPath(names.documentDirectory, job.settings.htmlDirectory);
}

std::string ResultFilePath(const std::string& directory, const std::string& fileName, const JobNames& names)
{
    const auto dot = fileName.rfind('.');
    if (dot != std::string::npos && utils::EqualIgnoringCase(fileName.substr(0, dot), names.baseName))
        return directory + "/" + names.documentBaseName + fileName.substr(dot);
    return directory + "/" + fileName;
}
