#include "app/window/window_job_callback.h"

#include "app/output_viewer.h"
#include "app/window/problems_pane.h"
#include "platform/wnd.h"

#include <algorithm>

namespace {

// Asked for by no job of the window; the setting of the viewer the job could start itself.
constexpr std::int32_t PostScriptViewerParameter = 2;

}  // namespace

WindowJobCallback::WindowJobCallback(Settings settings, HWND frame, HWND notificationWindow)
    : m_settings(std::move(settings)), m_frame(frame), m_notificationWindow(notificationWindow)
{
}

std::string WindowJobCallback::GetParameter(JobParameter parameter)
{
    switch (parameter) {
    case JobParameter::ProgramDirectory:
        return m_settings.dataDirectory;
    case JobParameter::ShowPostScript:
    case JobParameter::HiddenInterpreter:
        return "0";
    case JobParameter::LatexBatchFile:
        return {};
    case JobParameter::ServerAddress:
        return m_settings.serverAddress;
    case JobParameter::HtmlOptions:
        return m_settings.htmlOptions;
    case JobParameter::ResultSizeLimit:
        return m_settings.resultSizeLimit;
    case JobParameter::PhaseTimeLimit:
        return m_settings.phaseTimeLimit;
    }
    if (static_cast<std::int32_t>(parameter) == PostScriptViewerParameter)
        return m_settings.postScriptViewer;
    return {};
}

void WindowJobCallback::ShowOutput(std::int32_t, const std::string&)
{
    // The user opens output with the View commands.
}

void WindowJobCallback::ShowLog(const std::string& logPath, LogState state)
{
    if (state == LogState::HasErrors && !m_errorsListed)
        app::StartViewer(app::TextViewerProgram(), logPath);
}

void WindowJobCallback::ShowProblems(const std::vector<LatexProblem>& problems)
{
    m_errorsListed = std::any_of(problems.begin(), problems.end(),
                                 [](const LatexProblem& problem) { return problem.severity == ProblemSeverity::Error; });
    ::SendMessage(m_frame, ShowProblemsMessage, reinterpret_cast<WPARAM>(&problems), 0);
}

void WindowJobCallback::SetProgressText(const std::string& text)
{
    ::SendMessage(m_frame, StatusTextMessage, reinterpret_cast<WPARAM>(text.c_str()), ProgressPane);
}

void WindowJobCallback::SendFinishedNotification()
{
    ::SendMessage(m_notificationWindow, finishedNotificationMessage, 0, 0);
}
