#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "job_directory.h"

namespace torvel {

class Sandbox;

enum class ToolOutcome { Finished, TimeLimit, OutputLimit };

struct ToolResult {
    ToolOutcome outcome = ToolOutcome::Finished;
    int exitStatus = 0;  // 128 + signal number when a signal ended the tool
    bool Succeeded() const { return outcome == ToolOutcome::Finished && exitStatus == 0; }
};

// Runs the tools of one job, one after another, in their own process group. When the job's time is up
// or its directory grows past the output limit, the whole group is killed.
class ToolRunner {
public:
    ToolRunner(const Sandbox& sandbox, const JobPaths& job, std::chrono::steady_clock::time_point deadline,
               std::uint64_t maximumOutput);

    // Standard output and error of the tool are appended to `transcript`.
    ToolResult Run(const std::vector<std::string>& command, const std::filesystem::path& transcript);

private:
    ToolResult WaitFor(int processId);
    bool OutputOverLimit() const;

    const Sandbox& m_sandbox;
    JobPaths m_job;
    std::chrono::steady_clock::time_point m_deadline;
    std::uint64_t m_maximumOutput;
};

// Bytes held by regular files below `directory`.
std::uint64_t DirectorySize(const std::filesystem::path& directory);

// What the tools of a job have written so far.
std::uint64_t JobOutputSize(const JobPaths& job);

}  // namespace torvel
