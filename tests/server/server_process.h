#pragma once

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

namespace torvel_test {

// A real torvel-server on free loopback ports with its own web root and work directory, stopped
// with SIGTERM when the object goes away. Uses the bubblewrap sandbox when this machine can build
// one; otherwise it says so on standard error and runs the server with --no-sandbox.
class ServerProcess {
public:
    explicit ServerProcess(const std::vector<std::string>& extraArguments = {});
    ServerProcess(const ServerProcess&) = delete;
    ServerProcess& operator=(const ServerProcess&) = delete;
    ~ServerProcess();

    int DocumentationPort() const { return m_documentationPort; }
    int MaintenancePort() const { return m_maintenancePort; }
    const std::filesystem::path& WebRoot() const { return m_webRoot; }
    const std::filesystem::path& WorkDirectory() const { return m_workDirectory; }
    const std::filesystem::path& Scratch() const { return m_scratch; }
    bool Sandboxed() const { return m_sandboxed; }

    std::string Log() const;
    // Whether `text` shows up in the log within five seconds: a job's line follows its last byte.
    bool LogShows(const std::string& text) const;
    bool Running();
    // Sends SIGTERM and returns the exit status.
    int Stop();

private:
    bool Start(const std::vector<std::string>& arguments);

    std::filesystem::path m_scratch;
    std::filesystem::path m_webRoot;
    std::filesystem::path m_workDirectory;
    std::filesystem::path m_logFile;
    int m_processId = -1;
    int m_documentationPort = 0;
    int m_maintenancePort = 0;
    bool m_sandboxed = true;
};

std::filesystem::path ServerProgram();

// The command lines of the running processes that contain `text`, once none is left or `grace` has
// passed: killed processes take a moment to go.
std::vector<std::string> ProcessesNaming(const std::string& text, std::chrono::milliseconds grace);

// Names of job directories left in `workDirectory`.
std::vector<std::string> LeftoverJobDirectories(const std::filesystem::path& workDirectory);

}  // namespace torvel_test
