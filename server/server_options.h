#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace torvel {

enum class SandboxMode { Bubblewrap, None };

// Everything the command line can set. The defaults are those of a server run by hand on one machine.
struct ServerOptions {
    std::string bindAddress = "127.0.0.1";
    int documentationPort = 3000;
    int maintenancePort = 8000;
    std::filesystem::path webRoot = "/var/www/html";
    unsigned jobs = 1;
    std::chrono::seconds timeLimit{120};
    std::chrono::seconds idleTimeout{60};
    std::uint64_t maxUpload = 256ull << 20;
    std::uint64_t maxOutput = 512ull << 20;
    std::filesystem::path workDirectory;
    SandboxMode sandbox = SandboxMode::Bubblewrap;
};

enum class OptionsRequest { Run, ShowHelp };

struct ParsedOptions {
    OptionsRequest request = OptionsRequest::Run;
    ServerOptions options;
};

// Reads the arguments after the program name; a bad argument throws std::invalid_argument whose
// message names it.
ParsedOptions ParseServerOptions(const std::vector<std::string>& arguments);

std::string ServerUsage();

}  // namespace torvel
