#pragma once

#include "job_directory.h"
#include "server_options.h"

#include <filesystem>
#include <string>
#include <vector>

namespace torvel {

// Where a tool finds its working and scratch directories; inside the sandbox these are fixed
// names, without it they are the job directory's real paths.
struct ToolPaths {
    std::string work;
    std::string temporary;
};

// Builds the argument vector that runs a program of a job. With bubblewrap the program sees the TeX
// installation (and this server's own program, at kServerProgramInside) read-only, the job's two
// directories as the only writable places, no network and nothing else of the host.
class Sandbox {
public:
    explicit Sandbox(SandboxMode mode);

    SandboxMode Mode() const { return m_mode; }
    ToolPaths PathsFor(const JobPaths& job) const;

    // The program to execute and its full argument vector, program first.
    std::vector<std::string> Wrap(const JobPaths& job, const std::vector<std::string>& command) const;

    // The environment of every tool: paranoid TeX file access, no shell escape, no host settings.
    std::vector<std::string> Environment(const JobPaths& job) const;

    // Runs a trivial command in a sandbox to prove it can be built; throws with the reason if not.
    void CheckUsable(const std::filesystem::path& workDirectory) const;

private:
    std::vector<std::string> BubblewrapArguments(const JobPaths& job) const;

    SandboxMode m_mode;
    std::string m_bubblewrap;
    std::string m_serverProgram;
};

// Inside the sandbox the server program itself is found here, so that it can run the tool chain
// of a job in one sandbox.
inline constexpr const char* kServerProgramInside = "/torvel-server";

// The job's directories as a sandboxed tool sees them.
inline constexpr const char* kWorkInside = "/job";
inline constexpr const char* kTemporaryInside = "/tmp";

// The full path of `program` on the server's PATH; empty when it is not there.
std::string FindProgram(const std::string& program);

}  // namespace torvel
