#pragma once

#include "allow_list.h"

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace torvel {

enum class SandboxMode { Bubblewrap, None };

// Whether connections begin with a load balancer's PROXY protocol header naming the real client.
enum class ProxyProtocol { Refuse, Accept };

// Everything the command line can set. The defaults are those of a server run by hand on one machine.
struct ServerOptions {
    std::string bindAddress = "127.0.0.1";
    int documentationPort = 3000;
    int maintenancePort = 8000;
    std::filesystem::path webRoot = "/var/www/html";
    unsigned jobs = 1;
    std::optional<unsigned> jobsPerClient;  // see JobsPerClient()
    std::chrono::seconds timeLimit{120};
    std::chrono::seconds idleTimeout{60};
    std::uint64_t maxUpload = 256ull << 20;
    std::uint64_t maxOutput = 512ull << 20;
    std::filesystem::path workDirectory;
    SandboxMode sandbox = SandboxMode::Bubblewrap;
    AllowList documentationAllow = AllowList::Everyone();
    AllowList maintenanceAllow = AllowList::Loopback();
    ProxyProtocol proxyProtocol = ProxyProtocol::Refuse;
    std::filesystem::path pageHistory;  // empty: the directory that holds the web root
    unsigned pageHistoryDepth = 10;
};

// The running jobs one client address may have: as given, else half of all jobs, at least one.
unsigned JobsPerClient(const ServerOptions& options);

enum class OptionsRequest { Run, ShowHelp, RestorePage };

struct ParsedOptions {
    OptionsRequest request = OptionsRequest::Run;
    ServerOptions options;
    std::string restorePage;
    std::string restoreVersion;  // empty: the newest kept version
};

// Reads the arguments after the program name; a bad argument throws std::invalid_argument whose
// message names it.
ParsedOptions ParseServerOptions(const std::vector<std::string>& arguments);

std::string ServerUsage();

}  // namespace torvel
