#pragma once

#include <chrono>
#include <cstdint>
#include <string>

namespace torvel {

// The one line each job leaves on standard error.
struct JobLogEntry {
    std::string client;
    std::string proxy;  // the load balancer a client came through, if any
    std::string service;
    std::size_t files = 0;
    std::uint64_t bytes = 0;  // uploaded plus sent back
    std::chrono::steady_clock::time_point started = std::chrono::steady_clock::now();
    std::chrono::steady_clock::duration waited{};  // for a job slot, within the seconds
    std::string result = "failed";

    std::string Format() const;
};

// Writes whole lines, so lines of jobs running side by side do not interleave.
void WriteLogLine(const std::string& line);

}  // namespace torvel
