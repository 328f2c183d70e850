#pragma once

#include "docsystem/document_settings.h"
#include "docsystem/documentation_callback.h"
#include "docsystem/job_notification_window.h"
#include "docsystem/output_mode.h"
#include "docsystem/source_set.h"

#include <memory>
#include <string>
#include <vector>

// One output request, owned and deleted by the run that executes it.
struct DocumentationJob {
    JobNotificationWindow* notificationWindow = nullptr;  // not owned; null: runs inline, notifies nobody
    OutputMode mode = OutputMode::PostScript;
    std::string documentPath;             // full path of the main LaTeX file
    std::vector<std::string> extraFiles;  // further files to upload (starter, putfile, graphics)
    DocumentSettings settings;
    SourceSet sources;  // the prepared sources, filled when the run collects them
    std::unique_ptr<DocumentationCallback> callback;
};
