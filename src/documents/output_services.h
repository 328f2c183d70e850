#pragma once

#include "docsystem/documentation_callback.h"
#include "docsystem/job_notification_window.h"
#include "platform/win_types.h"

#include <memory>
#include <string>

// To the main frame: show the zero-terminated text (wParam) in the status bar pane (lParam).
inline constexpr UINT StatusTextMessage = 0x0400 + 5;
// The status bar pane that shows the progress of a job.
inline constexpr int ProgressPane = 1;

// The callback of a job started from a view. It also carries the job's finished notification to the
// view; the job owns it and deletes it only after that notification, so it lives as long as the job.
class OutputJobCallback : public DocumentationCallback, public JobNotificationWindow {
};

// What the document views need of the application to make and show output. The application object
// implements it; views find it with FindOutputServices().
class OutputServices {
public:
    virtual ~OutputServices() = default;

    // Saves every open document; false as soon as one could not be saved (the user has been told).
    virtual bool SaveAllDocuments() = 0;
    // A new callback for one job; its finished notification goes to `notificationWindow`.
    virtual std::unique_ptr<OutputJobCallback> CreateJobCallback(HWND notificationWindow) = 0;
    // Shows text in a pane of the main frame's status bar; an empty text in pane 0 brings back the
    // idle message.
    virtual void SetStatusText(const std::string& text, int pane) = 0;
    // Opens `file` in the viewer for `kind` ("ps", "pdf" or "html"); failures are shown to the user.
    virtual void OpenViewer(const std::string& kind, const std::string& file) = 0;
};

// The running application's services; null when the application object offers none.
OutputServices* FindOutputServices();
