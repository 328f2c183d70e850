#include "sandbox.h"

#include "job_directory.h"
#include "tool_runner.h"

#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace torvel {
namespace {

// Read-only parts of the host a TeX, Ghostscript or latex2html run needs; everything else stays hidden.
// Some TeX programs (bibtex) are found through Debian's alternatives links.
const std::vector<std::string> kReadOnlyDirectories = {"/usr", "/etc/texmf", "/var/lib/texmf", "/etc/latex2html.conf",
                                                       "/etc/alternatives"};

// On merged-/usr systems these are links into /usr; elsewhere they are directories of their own.
const std::vector<std::string> kRootEntries = {"/bin", "/sbin", "/lib", "/lib32", "/lib64", "/libx32"};

void AddRootEntry(std::vector<std::string>& arguments, const std::string& entry)
{
    std::error_code error;
    const auto status = std::filesystem::symlink_status(entry, error);
    if (error || !std::filesystem::exists(status))
        return;
    if (std::filesystem::is_symlink(status)) {
        arguments.insert(arguments.end(), {"--symlink", std::filesystem::read_symlink(entry, error).string(), entry});
        return;
    }
    arguments.insert(arguments.end(), {"--ro-bind", entry, entry});
}

}  // namespace

std::string FindProgram(const std::string& program)
{
    const char* path = std::getenv("PATH");
    std::istringstream directories(path != nullptr ? path : "/usr/bin:/bin");
    std::string directory;
    while (std::getline(directories, directory, ':')) {
        const std::string candidate = (directory.empty() ? std::string(".") : directory) + "/" + program;
        if (::access(candidate.c_str(), X_OK) == 0)
            return candidate;
    }
    return {};
}

Sandbox::Sandbox(SandboxMode mode) : m_mode(mode)
{
    if (m_mode == SandboxMode::None)
        return;
    m_bubblewrap = FindProgram("bwrap");
    std::error_code error;
    m_serverProgram = std::filesystem::read_symlink("/proc/self/exe", error).string();
    if (m_bubblewrap.empty())
        throw std::runtime_error("bubblewrap (bwrap) is not installed; install it, or start with --no-sandbox to run "
                                 "LaTeX without a sandbox");
}

ToolPaths Sandbox::PathsFor(const JobPaths& job) const
{
    if (m_mode == SandboxMode::Bubblewrap)
        return {kWorkInside, kTemporaryInside};
    return {job.work.string(), job.temporary.string()};
}

std::vector<std::string> Sandbox::Environment(const JobPaths& job) const
{
    const ToolPaths paths = PathsFor(job);
    return {"PATH=/usr/bin:/bin",
            "HOME=" + paths.work,
            "TMPDIR=" + paths.temporary,
            "LC_ALL=C",
            "openin_any=p",
            "openout_any=p",
            "shell_escape=f"};
}

std::vector<std::string> Sandbox::Wrap(const JobPaths& job, const std::vector<std::string>& command) const
{
    if (m_mode == SandboxMode::None) {
        std::vector<std::string> direct = command;
        const std::string program = FindProgram(command.front());
        if (program.empty())
            throw std::runtime_error(command.front() + " is not installed on the server");
        direct.front() = program;
        return direct;
    }
    std::vector<std::string> arguments = BubblewrapArguments(job);
    arguments.push_back("--");
    arguments.insert(arguments.end(), command.begin(), command.end());
    return arguments;
}

std::vector<std::string> Sandbox::BubblewrapArguments(const JobPaths& job) const
{
    // Its own user (nobody), no capabilities, its own session so it cannot reach a terminal, and gone
    // with the server.
    std::vector<std::string> arguments = {m_bubblewrap, "--unshare-all", "--unshare-user", "--uid", "65534", "--gid",
                                          "65534", "--cap-drop", "ALL", "--die-with-parent", "--new-session"};
    for (const auto& directory : kReadOnlyDirectories)
        arguments.insert(arguments.end(), {"--ro-bind-try", directory, directory});
    for (const auto& entry : kRootEntries)
        AddRootEntry(arguments, entry);
    arguments.insert(arguments.end(), {"--ro-bind", m_serverProgram, kServerProgramInside, "--proc", "/proc", "--dev",
                                       "/dev", "--bind", job.work.string(), kWorkInside, "--bind",
                                       job.temporary.string(), kTemporaryInside, "--chdir", kWorkInside, "--clearenv"});
    for (const auto& variable : Environment(job)) {
        const auto equals = variable.find('=');
        arguments.insert(arguments.end(), {"--setenv", variable.substr(0, equals), variable.substr(equals + 1)});
    }
    return arguments;
}

void Sandbox::CheckUsable(const std::filesystem::path& workDirectory) const
{
    if (m_mode == SandboxMode::None)
        return;
    JobDirectory probe(workDirectory);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    ToolRunner runner(*this, probe.Paths(), deadline, 1 << 20);
    const auto transcript = probe.Paths().transcript;
    const ToolResult result = runner.Run({kServerProgramInside, "--help"}, transcript);
    if (result.Succeeded())
        return;
    std::ifstream reason(transcript);
    std::stringstream text;
    text << reason.rdbuf();
    throw std::runtime_error("bubblewrap cannot build a sandbox on this machine (" + text.str() +
                             "); fix that, or start with --no-sandbox to run LaTeX without a sandbox");
}

}  // namespace torvel
