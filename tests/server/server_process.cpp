#include "server_process.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <iostream>
#include <regex>
#include <sstream>
#include <stdexcept>
#include <thread>

extern char** environ;

namespace torvel_test {
namespace {

bool& SandboxUsable()
{
    static bool usable = true;
    return usable;
}

std::filesystem::path MakeScratch()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "torvel-test-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("cannot create a scratch directory");
    return pattern;
}

}  // namespace

std::filesystem::path ServerProgram()
{
    return TORVEL_SERVER_PROGRAM;
}

std::vector<std::string> LeftoverJobDirectories(const std::filesystem::path& workDirectory)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(workDirectory)) {
        if (entry.path().filename().string().starts_with("torvel-job-"))
            names.push_back(entry.path().filename().string());
    }
    return names;
}

std::vector<std::string> ProcessesNaming(const std::string& text, std::chrono::milliseconds grace)
{
    const auto deadline = std::chrono::steady_clock::now() + grace;
    for (;;) {
        std::vector<std::string> commandLines;
        std::error_code error;
        for (auto entry = std::filesystem::directory_iterator("/proc", error);
             !error && entry != std::filesystem::directory_iterator(); entry.increment(error)) {
            std::ifstream file(entry->path() / "cmdline", std::ios::binary);
            std::string commandLine((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
            std::replace(commandLine.begin(), commandLine.end(), '\0', ' ');
            if (commandLine.find(text) != std::string::npos)
                commandLines.push_back(commandLine);
        }
        if (commandLines.empty() || std::chrono::steady_clock::now() >= deadline)
            return commandLines;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
}

ServerProcess::ServerProcess(const std::vector<std::string>& extraArguments)
    : m_scratch(MakeScratch()), m_webRoot(m_scratch / "www"), m_workDirectory(m_scratch / "jobs"),
      m_logFile(m_scratch / "server.log")
{
    std::filesystem::create_directories(m_webRoot);
    std::filesystem::create_directories(m_workDirectory);
    std::vector<std::string> arguments = {ServerProgram().string(), "--port", "0", "--maintenance-port", "0",
                                          "--webroot", m_webRoot.string(), "--workdir", m_workDirectory.string()};
    arguments.insert(arguments.end(), extraArguments.begin(), extraArguments.end());
    if (SandboxUsable() && Start(arguments))
        return;
    if (SandboxUsable()) {
        SandboxUsable() = false;
        std::cerr << "NOTE: bubblewrap cannot build a sandbox on this machine (" << Log()
                  << "); the server tests run torvel-server with --no-sandbox\n";
    }
    m_sandboxed = false;
    arguments.push_back("--no-sandbox");
    if (!Start(arguments))
        throw std::runtime_error("torvel-server did not start: " + Log());
}

ServerProcess::~ServerProcess()
{
    if (m_processId > 0)
        Stop();
    std::error_code ignored;
    std::filesystem::remove_all(m_scratch, ignored);
}

bool ServerProcess::Start(const std::vector<std::string>& arguments)
{
    posix_spawn_file_actions_t actions;
    ::posix_spawn_file_actions_init(&actions);
    ::posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    ::posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, m_logFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    std::vector<char*> pointers;
    for (const auto& argument : arguments)
        pointers.push_back(const_cast<char*>(argument.c_str()));
    pointers.push_back(nullptr);
    pid_t processId = -1;
    const int failure = ::posix_spawn(&processId, pointers[0], &actions, nullptr, pointers.data(), environ);
    ::posix_spawn_file_actions_destroy(&actions);
    if (failure != 0)
        throw std::runtime_error("cannot start " + arguments[0]);
    m_processId = processId;
    const std::regex ready(R"(documentation service on \S+ port (\d+), maintenance service on port (\d+))");
    for (int attempt = 0; attempt < 400; ++attempt) {
        std::smatch match;
        const std::string log = Log();
        if (std::regex_search(log, match, ready)) {
            m_documentationPort = std::stoi(match[1]);
            m_maintenancePort = std::stoi(match[2]);
            return true;
        }
        if (!Running())
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(25));
    }
    Stop();
    throw std::runtime_error("torvel-server did not report its ports: " + Log());
}

std::string ServerProcess::Log() const
{
    std::ifstream file(m_logFile);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

bool ServerProcess::LogShows(const std::string& text) const
{
    for (int attempt = 0; attempt < 250; ++attempt) {
        if (Log().find(text) != std::string::npos)
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
}

bool ServerProcess::Running()
{
    if (m_processId <= 0)
        return false;
    int status = 0;
    if (::waitpid(m_processId, &status, WNOHANG) == 0)
        return true;
    m_processId = -1;
    return false;
}

int ServerProcess::Stop()
{
    if (m_processId <= 0)
        return -1;
    ::kill(m_processId, SIGTERM);
    int status = 0;
    ::waitpid(m_processId, &status, 0);
    m_processId = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

}  // namespace torvel_test
