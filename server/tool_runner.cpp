#include "tool_runner.h"

#include "job_directory.h"
#include "sandbox.h"
#include "utils/file_descriptor.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace torvel {
namespace {

constexpr auto kOutputCheckInterval = std::chrono::milliseconds(250);

std::vector<char*> PointerVector(std::vector<std::string>& texts)
{
    std::vector<char*> pointers;
    for (auto& text : texts)
        pointers.push_back(text.data());
    pointers.push_back(nullptr);
    return pointers;
}

// Between fork and exec only async-signal-safe calls are allowed: the server has other threads.
[[noreturn]] void BecomeTool(char* const* arguments, char* const* environment, const char* directory, int input,
                             int output, rlim_t maximumOutput)
{
    ::setpgid(0, 0);
    sigset_t none;
    ::sigemptyset(&none);
    ::sigprocmask(SIG_SETMASK, &none, nullptr);
    ::signal(SIGPIPE, SIG_DFL);
    ::dup2(input, STDIN_FILENO);
    ::dup2(output, STDOUT_FILENO);
    ::dup2(output, STDERR_FILENO);
    ::syscall(SYS_close_range, 3u, ~0u, 0u);
    const rlimit fileSize{maximumOutput, maximumOutput};
    ::setrlimit(RLIMIT_FSIZE, &fileSize);
    const rlimit noCore{0, 0};
    ::setrlimit(RLIMIT_CORE, &noCore);
    if (::chdir(directory) != 0)
        ::_exit(126);
    ::execve(arguments[0], arguments, environment);
    ::_exit(127);
}

int ExitStatus(int waitStatus)
{
    if (WIFEXITED(waitStatus))
        return WEXITSTATUS(waitStatus);
    if (WIFSIGNALED(waitStatus))
        return 128 + WTERMSIG(waitStatus);
    return 1;
}

}  // namespace

std::uint64_t DirectorySize(const std::filesystem::path& directory)
{
    std::uint64_t total = 0;
    std::error_code error;
    for (auto entry = std::filesystem::recursive_directory_iterator(directory, error);
         !error && entry != std::filesystem::recursive_directory_iterator(); entry.increment(error)) {
        std::error_code sizeError;
        if (entry->is_regular_file(sizeError) && !entry->is_symlink(sizeError)) {
            const auto size = entry->file_size(sizeError);
            if (!sizeError)
                total += size;
        }
    }
    return total;
}

std::uint64_t JobOutputSize(const JobPaths& job)
{
    return DirectorySize(job.work) + DirectorySize(job.temporary);
}

ToolRunner::ToolRunner(const Sandbox& sandbox, const JobPaths& job, std::chrono::steady_clock::time_point deadline,
                       std::uint64_t maximumOutput)
    : m_sandbox(sandbox), m_job(job), m_deadline(deadline), m_maximumOutput(maximumOutput)
{
}

bool ToolRunner::OutputOverLimit() const
{
    return JobOutputSize(m_job) >= m_maximumOutput;
}

ToolResult ToolRunner::Run(const std::vector<std::string>& command, const std::filesystem::path& transcript)
{
    if (std::chrono::steady_clock::now() >= m_deadline)
        return {ToolOutcome::TimeLimit, 0};
    std::vector<std::string> arguments = m_sandbox.Wrap(m_job, command);
    std::vector<std::string> environment = m_sandbox.Environment(m_job);
    const std::vector<char*> argumentPointers = PointerVector(arguments);
    const std::vector<char*> environmentPointers = PointerVector(environment);
    const std::string directory = m_job.work.string();

    utils::FileDescriptor input(::open("/dev/null", O_RDONLY | O_CLOEXEC));
    utils::FileDescriptor output(::open(transcript.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC | O_NOFOLLOW, 0600));
    if (!input.IsOpen() || !output.IsOpen())
        throw std::runtime_error(std::string("cannot prepare a tool run: ") + std::strerror(errno));

    const pid_t processId = ::fork();
    if (processId < 0)
        throw std::runtime_error(std::string("cannot start ") + command.front() + ": " + std::strerror(errno));
    if (processId == 0)
        BecomeTool(argumentPointers.data(), environmentPointers.data(), directory.c_str(), input.Get(), output.Get(),
                   static_cast<rlim_t>(m_maximumOutput));
    ::setpgid(processId, processId);  // also here, so a kill cannot come before the child did it
    ToolResult result = WaitFor(processId);
    if (result.outcome == ToolOutcome::Finished && OutputOverLimit())
        result.outcome = ToolOutcome::OutputLimit;
    return result;
}

ToolResult ToolRunner::WaitFor(int processId)
{
    utils::FileDescriptor processHandle(static_cast<int>(::syscall(SYS_pidfd_open, processId, 0)));
    auto nextOutputCheck = std::chrono::steady_clock::now() + kOutputCheckInterval;
    for (;;) {
        int waitStatus = 0;
        const pid_t finished = ::waitpid(processId, &waitStatus, WNOHANG);
        if (finished == processId)
            return {ToolOutcome::Finished, ExitStatus(waitStatus)};
        const auto now = std::chrono::steady_clock::now();
        ToolOutcome stop = ToolOutcome::Finished;
        if (now >= m_deadline)
            stop = ToolOutcome::TimeLimit;
        else if (now >= nextOutputCheck && OutputOverLimit())
            stop = ToolOutcome::OutputLimit;
        if (stop != ToolOutcome::Finished) {
            ::killpg(processId, SIGKILL);
            ::waitpid(processId, &waitStatus, 0);
            return {stop, ExitStatus(waitStatus)};
        }
        if (now >= nextOutputCheck)
            nextOutputCheck = now + kOutputCheckInterval;
        const auto wake = std::min(m_deadline, nextOutputCheck);
        const auto wait = std::chrono::duration_cast<std::chrono::milliseconds>(wake - now).count() + 1;
        if (processHandle.IsOpen()) {
            pollfd entry{processHandle.Get(), POLLIN, 0};
            ::poll(&entry, 1, static_cast<int>(wait));
        } else {
            ::usleep(static_cast<useconds_t>(std::min<long long>(wait, 10) * 1000));
        }
    }
}

}  // namespace torvel
