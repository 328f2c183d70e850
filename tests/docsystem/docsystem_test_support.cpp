#include "docsystem_test_support.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace docsystem::testing {

std::string FixtureTree::Write(const std::string& relativePath, const std::string& content) const
{
    const std::string path = Path(relativePath);
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    utils::testing::WriteFile(path, content);
    return path;
}

std::string FixtureTree::Read(const std::string& relativePath) const
{
    return utils::testing::ReadFile(Path(relativePath));
}

ParameterCallback::ParameterCallback(std::string programDirectory)
    : programDirectory(std::move(programDirectory))
{
}

std::string ParameterCallback::GetParameter(JobParameter parameter)
{
    EXPECT_EQ(parameter, JobParameter::ProgramDirectory);
    return programDirectory;
}

void ParameterCallback::ShowOutput(std::int32_t, const std::string& filePath)
{
    ADD_FAILURE() << "unexpected ShowOutput " << filePath;
}

void ParameterCallback::ShowLog(const std::string& logPath, LogState)
{
    ADD_FAILURE() << "unexpected ShowLog " << logPath;
}

void ParameterCallback::SetProgressText(const std::string& text)
{
    ADD_FAILURE() << "unexpected SetProgressText " << text;
}

}  // namespace docsystem::testing
