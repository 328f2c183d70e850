#include "docsystem/template_directory.h"

std::string TemplateDirectory(DocumentationCallback& callback)
{
    return callback.GetParameter(JobParameter::ProgramDirectory) + "/template";
}
