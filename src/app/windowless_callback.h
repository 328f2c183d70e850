#pragma once

#include "app/progress_display.h"
#include "app/windowless_options.h"
#include "docsystem/documentation_callback.h"
#include "docsystem/result_file_observer.h"
#include "platform/ini_profile_file.h"

#include <optional>
#include <string>
#include <vector>

namespace app {

// What a window-less job told its callback, kept beyond the job (which deletes the callback).
struct WindowlessOutcome {
    std::vector<std::string> results;
    std::optional<std::string> logPath;
    LogState logState = LogState::Clean;
    std::vector<LatexProblem> problems;
};

// Answers the job's parameters as the editor's view does, with the command-line options in place of
// the stored "address" and "cmdline" settings, and the data directory as parameter 0.
class WindowlessCallback : public DocumentationCallback, public ResultFileObserver {
public:
    WindowlessCallback(const WindowlessOptions& options, const platform::IniProfileFile& settings,
                       ProgressDisplay& display, WindowlessOutcome& outcome);

    std::string GetParameter(JobParameter parameter) override;
    void ShowOutput(std::int32_t outputKind, const std::string& filePath) override;
    void ShowLog(const std::string& logPath, LogState state) override;
    void ShowProblems(const std::vector<LatexProblem>& problems) override;
    void SetProgressText(const std::string& text) override;
    void ResultFileStored(const std::string& path) override;

private:
    std::string Setting(const char* key, const char* fallback) const;

    const WindowlessOptions& m_options;
    const platform::IniProfileFile& m_settings;
    ProgressDisplay& m_display;
    WindowlessOutcome& m_outcome;
};

}  // namespace app
