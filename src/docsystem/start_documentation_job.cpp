#include "docsystem/start_documentation_job.h"

#include "docsystem/documentation_job.h"
#include "docsystem/local_run.h"
#include "docsystem/postprocess_table.h"
#include "docsystem/server_dialogue.h"
#include "docsystem/template_directory.h"
#include "utils/error_reporting.h"

#include <exception>
#include <thread>

namespace {

constexpr unsigned int kDocumentationSystemError = 5;

// Runs the job's work, reports a failure, then tells the window and deletes the job: every run ends
// the same way, whether it succeeded or not.
void ExecuteJob(std::unique_ptr<DocumentationJob> job, JobLocation location)
{
    try {
        if (location == JobLocation::Local)
            RunLocalLatex(*job);
        else
            RunServerDialogue(*job);
    } catch (const std::exception& error) {
        utils::ReportException(kDocumentationSystemError, error);
    }
    if (job->notificationWindow != nullptr)
        job->notificationWindow->SendFinishedNotification();
}

}  // namespace

void StartDocumentationJob(JobLocation location, JobNotificationWindow* notificationWindow, OutputMode mode,
                           const std::string& documentPath, std::unique_ptr<DocumentationCallback> callback,
                           const std::vector<std::string>* extraFiles)
{
    if (SharedPostProcessTable()->IsEmpty())
        LoadPostProcessTable(TemplateDirectory(*callback) + "/postprocess.txt");

    auto job = std::make_unique<DocumentationJob>();
    job->documentPath = documentPath;
    if (extraFiles != nullptr)
        job->extraFiles = *extraFiles;
    job->notificationWindow = notificationWindow;
    job->mode = mode;
    job->callback = std::move(callback);

    if (notificationWindow == nullptr) {
        ExecuteJob(std::move(job), location);
        return;
    }
    // The job ends on its own; nothing waits for the thread, only for the notification.
    std::thread(ExecuteJob, std::move(job), location).detach();
}
