#pragma once

#include "docsystem/documentation_callback.h"

#include <string>

// The directory of the template files: the program's data directory + "/template".
std::string TemplateDirectory(DocumentationCallback& callback);
