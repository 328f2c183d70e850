#include "utils/process.h"

#include "utils/string_utils.h"

#include <cerrno>
#include <csignal>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <vector>

extern char** environ;

namespace utils {

namespace {

// The command line buffer of the original interface; a longer line is refused, not cut.
constexpr std::size_t kMaximumCommandLine = 65535;
constexpr int kSignalExitBase = 128;
constexpr int kFirstDescriptorToClose = 3;

// Blocks until the process has ended; its exit code, or none when it cannot be read.
std::optional<int> WaitForProcess(int processId)
{
    int status = 0;
    pid_t result = 0;
    do {
        result = ::waitpid(processId, &status, 0);
    } while (result < 0 && errno == EINTR);
    if (result < 0)
        return std::nullopt;
    if (WIFEXITED(status))
        return WEXITSTATUS(status);
    if (WIFSIGNALED(status))
        return kSignalExitBase + WTERMSIG(status);
    return std::nullopt;
}

std::vector<std::string> CommandArguments(const std::string& commandLine)
{
    std::vector<std::string> arguments = SplitFields(commandLine, ' ');
    // Runs of blanks separate arguments once, as on a command line.
    std::erase_if(arguments, [](const std::string& argument) { return argument.empty(); });
    return arguments;
}

// Spawn settings: the program gets no descriptors of ours beyond the standard three, and the
// default handling of the signals that this program blocks or ignores.
class SpawnSettings {
public:
    explicit SpawnSettings(const std::string& workingDirectory)
    {
        posix_spawn_file_actions_init(&actions);
        posix_spawnattr_init(&attributes);
        if (!workingDirectory.empty())
            posix_spawn_file_actions_addchdir_np(&actions, workingDirectory.c_str());
        posix_spawn_file_actions_addclosefrom_np(&actions, kFirstDescriptorToClose);
        sigset_t signals;
        sigemptyset(&signals);
        posix_spawnattr_setsigmask(&attributes, &signals);
        sigaddset(&signals, SIGPIPE);
        posix_spawnattr_setsigdefault(&attributes, &signals);
        posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    }
    SpawnSettings(const SpawnSettings&) = delete;
    SpawnSettings& operator=(const SpawnSettings&) = delete;
    ~SpawnSettings()
    {
        posix_spawnattr_destroy(&attributes);
        posix_spawn_file_actions_destroy(&actions);
    }

    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attributes;
};

}  // namespace

ProcessHandle::ProcessHandle(int processId)
    : processId(processId)
{
}

ProcessHandle::ProcessHandle(ProcessHandle&& other) noexcept
    : processId(other.processId)
    , waited(other.waited)
    , exitCode(other.exitCode)
{
    other.waited = true;
}

ProcessHandle& ProcessHandle::operator=(ProcessHandle&& other) noexcept
{
    if (this != &other) {
        ReleaseInBackground();
        processId = other.processId;
        waited = other.waited;
        exitCode = other.exitCode;
        other.waited = true;
    }
    return *this;
}

ProcessHandle::~ProcessHandle()
{
    ReleaseInBackground();
}

std::optional<int> ProcessHandle::Wait()
{
    if (!waited) {
        exitCode = WaitForProcess(processId);
        waited = true;
    }
    return exitCode;
}

void ProcessHandle::ReleaseInBackground()
{
    if (waited)
        return;
    waited = true;
    try {
        std::thread([processId = processId] { WaitForProcess(processId); }).detach();
    } catch (const std::system_error&) {
        // No thread for the reaper: the ended program stays a zombie until this program ends,
        // which harms nothing else.
    }
}

std::optional<ProcessHandle> StartProcess(const std::string& commandLine, unsigned int options,
                                          const std::string& workingDirectory)
{
    if (commandLine.size() > kMaximumCommandLine) {
        errno = E2BIG;
        return std::nullopt;
    }
    std::vector<std::string> arguments = CommandArguments(commandLine);
    if (arguments.empty()) {
        errno = ENOENT;
        return std::nullopt;
    }
    std::vector<char*> argumentPointers;
    for (std::string& argument : arguments)
        argumentPointers.push_back(argument.data());
    argumentPointers.push_back(nullptr);

    const SpawnSettings settings(workingDirectory);
    pid_t processId = 0;
    const int result = posix_spawnp(&processId, argumentPointers[0], &settings.actions, &settings.attributes,
                                    argumentPointers.data(), environ);
    if (result != 0) {
        errno = result;
        return std::nullopt;
    }
    ProcessHandle process(processId);
    if (options & ProcessWaitForExit)
        process.Wait();
    return process;
}

}  // namespace utils
