#pragma once

// Runs a program with extra environment variables and captures its exit status and output.

#include <map>
#include <string>
#include <vector>

namespace app::testing {

struct ProgramResult {
    int exitStatus = -1;
    std::string standardOutput;
    std::string standardError;
};

ProgramResult RunProgram(const std::string& program, const std::vector<std::string>& arguments,
                         const std::map<std::string, std::string>& environment);

}  // namespace app::testing
