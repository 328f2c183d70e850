#pragma once

// Starting other programs from a command line.

#include <optional>
#include <string>

namespace utils {

enum ProcessOption : unsigned int {
    ProcessNoOptions = 0,
    ProcessWaitForExit = 1,  // return only after the program has ended, with its exit code
    ProcessHidden = 2,       // accepted; programs have no console window to hide here
};

// A started program. A program that nobody waits for is reaped in the background when its handle
// goes away, so it never lingers as a zombie.
class ProcessHandle {
public:
    explicit ProcessHandle(int processId);
    ProcessHandle(ProcessHandle&& other) noexcept;
    ProcessHandle& operator=(ProcessHandle&& other) noexcept;
    ProcessHandle(const ProcessHandle&) = delete;
    ProcessHandle& operator=(const ProcessHandle&) = delete;
    ~ProcessHandle();

    int ProcessId() const { return processId; }
    // Waits for the end of the program; its exit code (128 + signal number when a signal ended
    // it), or none when it cannot be read.
    std::optional<int> Wait();
    // The exit code once the program has been waited for.
    std::optional<int> ExitCode() const { return exitCode; }

private:
    void ReleaseInBackground();

    int processId;
    bool waited = false;
    std::optional<int> exitCode;
};

// Splits the command line at blanks outside double quotes (the first word names the program,
// found on PATH) and starts it in workingDirectory (the current one when empty). Returns none,
// with errno set, when it cannot be started.
std::optional<ProcessHandle> StartProcess(const std::string& commandLine,
                                          unsigned int options = ProcessNoOptions,
                                          const std::string& workingDirectory = {});

}  // namespace utils
