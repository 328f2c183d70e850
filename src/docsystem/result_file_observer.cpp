#include "docsystem/result_file_observer.h"

#include "docsystem/documentation_callback.h"

void ReportResultFile(DocumentationCallback& callback, const std::string& path)
{
    if (auto* observer = dynamic_cast<ResultFileObserver*>(&callback))
        observer->ResultFileStored(path);
}
