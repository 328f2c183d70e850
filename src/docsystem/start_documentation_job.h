#pragma once

#include "docsystem/documentation_callback.h"
#include "docsystem/job_notification_window.h"
#include "docsystem/output_mode.h"

#include <memory>
#include <string>
#include <vector>

// Where a job does its work: through the processing server or with a local script.
enum class JobLocation {
    Remote,
    Local,
};

// Starts a documentation job for the LaTeX file documentPath. With a notification window the job
// runs on a thread of its own and this returns at once; the window gets the finished notification
// when the job has ended. Without one the whole job runs before this returns. Failures are shown
// through the message box of the error reporting ("Documentation system error:" and the message).
void StartDocumentationJob(JobLocation location, JobNotificationWindow* notificationWindow, OutputMode mode,
                           const std::string& documentPath, std::unique_ptr<DocumentationCallback> callback,
                           const std::vector<std::string>* extraFiles = nullptr);
