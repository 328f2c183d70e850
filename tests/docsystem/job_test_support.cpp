#include "docsystem/job_test_support.h"

#include "utils/message_box.h"

#include <filesystem>
#include <memory>

namespace docsystem::testing {

RecordingCallback::RecordingCallback(std::map<JobParameter, std::string> parameters, CallbackRecord& record)
    : m_parameters(std::move(parameters)), m_record(record)
{
}

RecordingCallback::~RecordingCallback()
{
    m_record.destroyed = true;
}

std::string RecordingCallback::GetParameter(JobParameter parameter)
{
    const auto found = m_parameters.find(parameter);
    return found == m_parameters.end() ? std::string() : found->second;
}

void RecordingCallback::ShowOutput(std::int32_t outputKind, const std::string& filePath)
{
    m_record.outputs.emplace_back(outputKind, filePath);
}

void RecordingCallback::ShowLog(const std::string& logPath, LogState state)
{
    m_record.logs.emplace_back(logPath, state);
}

void RecordingCallback::SetProgressText(const std::string& text)
{
    m_record.progressTexts.push_back(text);
}

void RecordingCallback::ResultFileStored(const std::string& path)
{
    m_record.storedResults.push_back(path);
}

ReportedErrors::ReportedErrors()
{
    utils::SetMessageBoxHandler([this](const std::string& text, unsigned int) {
        const std::lock_guard lock(m_mutex);
        m_texts.push_back(text);
        return static_cast<int>(utils::AnswerOk);
    });
}

ReportedErrors::~ReportedErrors()
{
    utils::SetMessageBoxHandler({});
}

std::vector<std::string> ReportedErrors::Texts() const
{
    const std::lock_guard lock(m_mutex);
    return m_texts;
}

JobWorkspace::JobWorkspace()
{
    std::filesystem::create_directories(m_root / "data/template");
    std::filesystem::create_directories(m_root / "doc");
}

std::string JobWorkspace::Write(const std::string& relativePath, const std::string& content) const
{
    const std::string path = m_root / relativePath;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    utils::testing::WriteFile(path, content);
    return path;
}

std::string JobWorkspace::Read(const std::string& path) const
{
    return utils::testing::ReadFile(path);
}

bool JobWorkspace::Exists(const std::string& path) const
{
    return std::filesystem::exists(path);
}

std::map<JobParameter, std::string> JobWorkspace::Parameters(const std::string& serverAddress) const
{
    return {
        {JobParameter::ProgramDirectory, DataDirectory()},
        {JobParameter::ShowPostScript, "0"},
        {JobParameter::ServerAddress, serverAddress},
        {JobParameter::HtmlOptions, defaultHtmlOptions},
    };
}

CallbackRecord JobWorkspace::Run(JobLocation location, OutputMode mode, const std::string& documentPath,
                                 std::map<JobParameter, std::string> parameters,
                                 const std::vector<std::string>* extraFiles) const
{
    CallbackRecord record;
    StartDocumentationJob(location, nullptr, mode, documentPath,
                          std::make_unique<RecordingCallback>(std::move(parameters), record), extraFiles);
    return record;
}

}  // namespace docsystem::testing
