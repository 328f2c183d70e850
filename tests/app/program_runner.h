#pragma once

// Runs a program (found on PATH when its name has no slash) with extra environment variables, in a
// working directory when one is given, and captures its exit status and output.

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
                         const std::map<std::string, std::string>& environment = {},
                         const std::string& workingDirectory = {});

}  // namespace app::testing
