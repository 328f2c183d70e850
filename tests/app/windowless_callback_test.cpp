#include "app/windowless_callback.h"
#include "utils/test_scratch_directory.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

using namespace app;
using ::testing::ElementsAre;

namespace {

class WindowlessCallbackTest : public ::testing::Test {
protected:
    WindowlessCallbackTest() : settings(directory / "Quillwright.conf"), display(stderr, DisplayStyle::PlainLines) {}

    std::string Parameter(JobParameter parameter)
    {
        WindowlessCallback callback(options, settings, display, outcome);
        return callback.GetParameter(parameter);
    }

    utils::testing::ScratchDirectory directory;
    platform::IniProfileFile settings;
    ProgressDisplay display;
    WindowlessOptions options;
    WindowlessOutcome outcome;
};

}  // namespace

TEST_F(WindowlessCallbackTest, WithoutSettingsTheDefaultsApply)
{
    EXPECT_EQ(Parameter(JobParameter::ServerAddress), "localhost:3000");
    EXPECT_EQ(Parameter(JobParameter::HtmlOptions),
              "-no_navigation -split 0 -link 0 -math_scale_factor 1.29 -figure_scale_factor 1.29");
    EXPECT_EQ(Parameter(JobParameter::ShowPostScript), "0");
    EXPECT_EQ(Parameter(JobParameter::HiddenInterpreter), "0");
    EXPECT_EQ(Parameter(JobParameter::LatexBatchFile), "");
    EXPECT_EQ(Parameter(static_cast<JobParameter>(2)), "");
    EXPECT_EQ(Parameter(JobParameter::ResultSizeLimit), "");
    EXPECT_EQ(Parameter(JobParameter::PhaseTimeLimit), "");
    EXPECT_EQ(Parameter(static_cast<JobParameter>(9)), "");
}

TEST_F(WindowlessCallbackTest, SettingsAnswerUnlessTheOptionsReplaceThem)
{
    settings.SetString("settings", "address", "texhost:3100");
    settings.SetString("settings", "cmdline", "-split 2");
    settings.SetString("settings", "psviewer", "gv");
    settings.SetString("settings", "maxresultsize", "5000000000");
    settings.SetString("settings", "phasetimelimit", "7200");
    EXPECT_EQ(Parameter(JobParameter::ServerAddress), "texhost:3100");
    EXPECT_EQ(Parameter(JobParameter::ResultSizeLimit), "5000000000");
    EXPECT_EQ(Parameter(JobParameter::PhaseTimeLimit), "7200");
    EXPECT_EQ(Parameter(JobParameter::HtmlOptions), "-split 2");
    EXPECT_EQ(Parameter(static_cast<JobParameter>(2)), "gv");

    options.address = "other:1";
    options.htmlOptions = "";
    options.localScript = "/opt/run.sh";
    EXPECT_EQ(Parameter(JobParameter::ServerAddress), "other:1");
    EXPECT_EQ(Parameter(JobParameter::HtmlOptions), "");
    EXPECT_EQ(Parameter(JobParameter::LatexBatchFile), "/opt/run.sh");
}

TEST_F(WindowlessCallbackTest, DataDirectoryComesFromTheEnvironmentFirst)
{
    const char* previous = std::getenv("QUILLWRIGHT_HOME");
    const std::string saved = previous != nullptr ? previous : "";
    setenv("QUILLWRIGHT_HOME", "/srv/quill//", 1);
    EXPECT_EQ(Parameter(JobParameter::ProgramDirectory), "/srv/quill");
    unsetenv("QUILLWRIGHT_HOME");
    EXPECT_EQ(Parameter(JobParameter::ProgramDirectory), QUILLWRIGHT_SOURCE_DIR);
    if (previous != nullptr)
        setenv("QUILLWRIGHT_HOME", saved.c_str(), 1);
}

TEST_F(WindowlessCallbackTest, LogAndResultsAreKeptForTheEnd)
{
    {
        WindowlessCallback callback(options, settings, display, outcome);
        callback.ResultFileStored("/d/Paper.log");
        callback.ResultFileStored("/d/Paper.ps");
        callback.ShowLog("/d/Paper.log", LogState::HasErrors);
        callback.ShowOutput(2, "/d/Paper.ps");
    }
    EXPECT_THAT(outcome.results, ElementsAre("/d/Paper.log", "/d/Paper.ps"));
    EXPECT_EQ(outcome.logPath, "/d/Paper.log");
    EXPECT_EQ(outcome.logState, LogState::HasErrors);
}
