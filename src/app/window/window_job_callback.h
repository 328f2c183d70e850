#pragma once

#include "app/window/running_jobs.h"
#include "documents/output_services.h"

#include <string>

// The callback of a job started from the LaTeX view. The settings the job asks for are read when
// the job starts, on the user-interface thread, so that the job's thread never touches the
// application's objects; progress and the finished notification reach the windows by their handles,
// which find nothing once a window is gone.
class WindowJobCallback : public OutputJobCallback {
public:
    struct Settings {
        std::string dataDirectory;
        std::string postScriptViewer;
        std::string serverAddress;
        std::string htmlOptions;
        std::string resultSizeLimit;  // empty: the job's own limits
        std::string phaseTimeLimit;
    };

    WindowJobCallback(Settings settings, HWND frame, HWND notificationWindow);

    std::string GetParameter(JobParameter parameter) override;
    void ShowOutput(std::int32_t outputKind, const std::string& filePath) override;
    // Opens a log with errors in the program for plain text when the Problems pane lists none of
    // them (the log's own form was not understood); otherwise the pane says it all.
    void ShowLog(const std::string& logPath, LogState state) override;
    // Shows them in the frame's Problems pane.
    void ShowProblems(const std::vector<LatexProblem>& problems) override;
    // Shows the text in the progress pane of the status bar.
    void SetProgressText(const std::string& text) override;
    void SendFinishedNotification() override;

private:
    Settings m_settings;
    HWND m_frame;
    HWND m_notificationWindow;
    running_jobs::Registration m_registration;
    bool m_errorsListed = false;
};
