#include "client_run.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <stdexcept>

extern char** environ;

namespace torvel_test {
namespace {

int SpawnAndWait(const std::vector<std::string>& arguments, const std::filesystem::path& directory,
                 const std::filesystem::path& output)
{
    posix_spawn_file_actions_t actions;
    ::posix_spawn_file_actions_init(&actions);
    ::posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    ::posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ::posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
    ::posix_spawn_file_actions_addchdir_np(&actions, directory.c_str());
    std::vector<char*> pointers;
    for (const auto& argument : arguments)
        pointers.push_back(const_cast<char*>(argument.c_str()));
    pointers.push_back(nullptr);
    pid_t processId = 0;
    const int failure = ::posix_spawnp(&processId, pointers[0], &actions, nullptr, pointers.data(), environ);
    ::posix_spawn_file_actions_destroy(&actions);
    if (failure != 0)
        throw std::runtime_error("cannot start " + arguments[0]);
    int status = 0;
    ::waitpid(processId, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

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
    std::vector<std::string> command = {QUILLWRIGHT_PROGRAM};
    command.insert(command.end(), arguments.begin(), arguments.end());
    const auto output = directory / ".client-output.txt";
    ClientRun run;
    run.exitStatus = SpawnAndWait(command, directory, output);
    run.output = ReadFile(output);
    std::filesystem::remove(output);
    return run;
}

std::string Capture(const std::vector<std::string>& arguments, int& exitStatus)
{
    const auto output = std::filesystem::temp_directory_path() / ("torvel-capture-" + std::to_string(::getpid()));
    exitStatus = SpawnAndWait(arguments, std::filesystem::temp_directory_path(), output);
    std::string text = ReadFile(output);
    std::filesystem::remove(output);
    return text;
}

}  // namespace torvel_test
