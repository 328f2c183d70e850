#include "app/windowless_callback.h"

#include "app/data_directory.h"
#include "app/default_settings.h"

namespace app {

WindowlessCallback::WindowlessCallback(const WindowlessOptions& options, const platform::IniProfileFile& settings,
                                       ProgressDisplay& display, WindowlessOutcome& outcome)
    : m_options(options), m_settings(settings), m_display(display), m_outcome(outcome)
{
}

std::string WindowlessCallback::GetParameter(JobParameter parameter)
{
    switch (parameter) {
    case JobParameter::ProgramDirectory:
        return DataDirectory();
    case JobParameter::ShowPostScript:
    case JobParameter::HiddenInterpreter:
        return "0";
    case JobParameter::LatexBatchFile:
        return m_options.localScript.value_or("");
    case JobParameter::ServerAddress:
        return m_options.address ? *m_options.address : Setting("address", defaultServerAddress);
    case JobParameter::HtmlOptions:
        return m_options.htmlOptions ? *m_options.htmlOptions : Setting("cmdline", defaultHtmlOptions);
    // Empty unless the user changed them: the job knows its defaults.
    case JobParameter::ResultSizeLimit:
        return Setting("maxresultsize", "");
    case JobParameter::PhaseTimeLimit:
        return Setting("phasetimelimit", "");
    }
    // Parameter 2, the PostScript viewer, and numbers no job asks for.
    if (static_cast<int>(parameter) == 2)
        return Setting("psviewer", "");
    return {};
}

void WindowlessCallback::ShowOutput(std::int32_t, const std::string&)
{
    // Results are listed at the end of the run; nothing is opened.
}

void WindowlessCallback::ShowLog(const std::string& logPath, LogState state)
{
    m_outcome.logPath = logPath;
    m_outcome.logState = state;
}

void WindowlessCallback::ShowProblems(const std::vector<LatexProblem>& problems)
{
    m_outcome.problems = problems;
}

void WindowlessCallback::SetProgressText(const std::string& text)
{
    m_display.Show(text);
}

void WindowlessCallback::ResultFileStored(const std::string& path)
{
    m_outcome.results.push_back(path);
}

std::string WindowlessCallback::Setting(const char* key, const char* fallback) const
{
    return m_settings.GetString(settingsGroup, key, fallback);
}

}  // namespace app
