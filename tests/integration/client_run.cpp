#include "client_run.h"

#include "app/program_runner.h"

#include <fstream>
#include <stdexcept>

namespace torvel_test {
namespace {

std::string ReadFile(const std::filesystem::path& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(file)), {});
}

}  // namespace

ExampleDocuments::ExampleDocuments()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "torvel-examples-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("cannot create a directory for the examples");
    m_directory = std::filesystem::path(pattern) / "examples";
    std::filesystem::copy(std::filesystem::path(QUILLWRIGHT_SOURCE_DIR) / "examples", m_directory,
                          std::filesystem::copy_options::recursive);
}

ExampleDocuments::~ExampleDocuments()
{
    std::error_code ignored;
    std::filesystem::remove_all(m_directory.parent_path(), ignored);
}

std::string ExampleDocuments::Read(const std::string& relative) const
{
    return ReadFile(m_directory / relative);
}

ClientRun RunClient(const std::vector<std::string>& arguments, const std::filesystem::path& directory)
{
    const auto result = app::testing::RunProgram(QUILLWRIGHT_PROGRAM, arguments, {}, directory.string());
    return {result.exitStatus, result.standardOutput + result.standardError};
}

std::string Capture(const std::vector<std::string>& arguments, int& exitStatus)
{
    const auto result = app::testing::RunProgram(arguments.front(), {arguments.begin() + 1, arguments.end()});
    exitStatus = result.exitStatus;
    return result.standardOutput + result.standardError;
}

}  // namespace torvel_test
