#include "server_options.h"

#include <algorithm>
#include <charconv>
#include <functional>
#include <map>
#include <stdexcept>
#include <thread>

namespace torvel {
namespace {

std::uint64_t ParseNumber(const std::string& option, const std::string& text, std::uint64_t minimum, std::uint64_t maximum)
{
    std::uint64_t value = 0;
    const char* end = text.data() + text.size();
    const auto [position, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || position != end || value < minimum || value > maximum)
        throw std::invalid_argument(option + " needs a whole number from " + std::to_string(minimum) + " to " +
                                    std::to_string(maximum) + ", not \"" + text + "\"");
    return value;
}

int ParsePort(const std::string& option, const std::string& text)
{
    return static_cast<int>(ParseNumber(option, text, 0, 65535));
}

std::chrono::seconds ParseSeconds(const std::string& option, const std::string& text)
{
    return std::chrono::seconds(ParseNumber(option, text, 1, 86400));
}

using ValueSetter = std::function<void(ServerOptions&, const std::string& option, const std::string& value)>;

const std::map<std::string, ValueSetter>& ValueOptions()
{
    static const std::map<std::string, ValueSetter> setters = {
        {"--bind", [](ServerOptions& o, const std::string&, const std::string& v) { o.bindAddress = v; }},
        {"--port", [](ServerOptions& o, const std::string& n, const std::string& v) { o.documentationPort = ParsePort(n, v); }},
        {"--maintenance-port",
         [](ServerOptions& o, const std::string& n, const std::string& v) { o.maintenancePort = ParsePort(n, v); }},
        {"--webroot", [](ServerOptions& o, const std::string&, const std::string& v) { o.webRoot = v; }},
        {"--jobs",
         [](ServerOptions& o, const std::string& n, const std::string& v) { o.jobs = static_cast<unsigned>(ParseNumber(n, v, 1, 1024)); }},
        {"--time-limit", [](ServerOptions& o, const std::string& n, const std::string& v) { o.timeLimit = ParseSeconds(n, v); }},
        {"--idle-timeout", [](ServerOptions& o, const std::string& n, const std::string& v) { o.idleTimeout = ParseSeconds(n, v); }},
        {"--max-upload",
         [](ServerOptions& o, const std::string& n, const std::string& v) { o.maxUpload = ParseNumber(n, v, 1, 1ull << 40); }},
        {"--max-output",
         [](ServerOptions& o, const std::string& n, const std::string& v) { o.maxOutput = ParseNumber(n, v, 4096, 1ull << 40); }},
        {"--workdir", [](ServerOptions& o, const std::string&, const std::string& v) { o.workDirectory = v; }},
        {"--jobs-per-client",
         [](ServerOptions& o, const std::string& n, const std::string& v) { o.jobsPerClient = static_cast<unsigned>(ParseNumber(n, v, 1, 1024)); }},
        {"--allow", [](ServerOptions& o, const std::string&, const std::string& v) { o.documentationAllow = AllowList::Parse(v); }},
        {"--maintenance-allow",
         [](ServerOptions& o, const std::string&, const std::string& v) { o.maintenanceAllow = AllowList::Parse(v); }},
        {"--page-history", [](ServerOptions& o, const std::string&, const std::string& v) { o.pageHistory = v; }},
        {"--page-history-depth",
         [](ServerOptions& o, const std::string& n, const std::string& v) { o.pageHistoryDepth = static_cast<unsigned>(ParseNumber(n, v, 1, 1000)); }},
    };
    return setters;
}

ServerOptions DefaultOptions()
{
    ServerOptions options;
    options.jobs = std::max(1u, std::thread::hardware_concurrency());
    std::error_code ignored;
    options.workDirectory = std::filesystem::temp_directory_path(ignored);
    if (options.workDirectory.empty())
        options.workDirectory = "/tmp";
    return options;
}

using RequestSetter = std::function<void(ParsedOptions&, const std::string& value)>;

// The options of the page restoring mode, which takes the server's other options as they are.
const std::map<std::string, RequestSetter>& RequestOptions()
{
    static const std::map<std::string, RequestSetter> setters = {
        {"--restore",
         [](ParsedOptions& p, const std::string& v) {
             p.request = OptionsRequest::RestorePage;
             p.restorePage = v;
         }},
        {"--version", [](ParsedOptions& p, const std::string& v) { p.restoreVersion = v; }},
    };
    return setters;
}

}  // namespace

unsigned JobsPerClient(const ServerOptions& options)
{
    return options.jobsPerClient.value_or(std::max(1u, options.jobs / 2));
}

ParsedOptions ParseServerOptions(const std::vector<std::string>& arguments)
{
    ParsedOptions parsed;
    parsed.options = DefaultOptions();
    for (std::size_t index = 0; index < arguments.size(); ++index) {
        const std::string& argument = arguments[index];
        if (argument == "--help" || argument == "-h") {
            parsed.request = OptionsRequest::ShowHelp;
            continue;
        }
        if (argument == "--no-sandbox") {
            parsed.options.sandbox = SandboxMode::None;
            continue;
        }
        if (argument == "--proxy-protocol") {
            parsed.options.proxyProtocol = ProxyProtocol::Accept;
            continue;
        }
        const auto setter = ValueOptions().find(argument);
        const auto requestSetter = RequestOptions().find(argument);
        if (setter == ValueOptions().end() && requestSetter == RequestOptions().end())
            throw std::invalid_argument("unknown option \"" + argument + "\"");
        if (index + 1 >= arguments.size())
            throw std::invalid_argument(argument + " needs a value");
        const std::string& value = arguments[++index];
        if (setter != ValueOptions().end())
            setter->second(parsed.options, argument, value);
        else
            requestSetter->second(parsed, value);
    }
    if (!parsed.restoreVersion.empty() && parsed.request != OptionsRequest::RestorePage)
        throw std::invalid_argument("--version goes with --restore");
    return parsed;
}

std::string ServerUsage()
{
    return "usage: torvel-server [--bind ADDR] [--port 3000] [--maintenance-port 8000] [--webroot DIR]\n"
           "                     [--jobs N] [--time-limit SECONDS] [--idle-timeout SECONDS]\n"
           "                     [--max-upload BYTES] [--max-output BYTES] [--workdir DIR] [--no-sandbox]\n"
           "                     [--allow CIDR,...] [--maintenance-allow CIDR,...] [--proxy-protocol]\n"
           "                     [--jobs-per-client N] [--page-history DIR] [--page-history-depth N]\n"
           "       torvel-server --restore PAGE [--version TIMESTAMP] [--webroot DIR] [--page-history DIR]\n"
           "Runs LaTeX, dvips, Ghostscript and latex2html for documentation clients (port 3000) and\n"
           "copies single pages between clients and the web root (maintenance port 8000).\n"
           "A port of 0 picks a free port; the ports in use are printed on standard error.\n"
           "--allow and --maintenance-allow name the networks served (IPv4 and IPv6, CIDR); by default\n"
           "every address may use the documentation service and only loopback the maintenance service.\n"
           "--proxy-protocol: every connection begins with a load balancer's PROXY protocol header (v1 or\n"
           "v2), and the allow-lists and fair shares apply to the client address it carries.\n"
           "--jobs-per-client: running jobs of one client address (default: half of --jobs, at least 1).\n"
           "Before a page is replaced its previous version is kept in DIR/.versions (DIR defaults to the\n"
           "directory that holds the web root), the newest --page-history-depth (10) of each page;\n"
           "--restore puts the newest kept version of PAGE, or the one given, back in place.\n";
}

}  // namespace torvel
