#include "page_restore.h"
#include "sandboxed_conversion.h"
#include "server_options.h"
#include "torvel_server.h"

#include <iostream>

int main(int argc, char** argv)
{
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    if (!arguments.empty() && arguments.front() == torvel::kRunConversionArgument)
        return torvel::RunConversionInside(std::vector<std::string>(arguments.begin() + 1, arguments.end()));
    try {
        const torvel::ParsedOptions parsed = torvel::ParseServerOptions(arguments);
        if (parsed.request == torvel::OptionsRequest::ShowHelp) {
            std::cout << torvel::ServerUsage();
            return 0;
        }
        if (parsed.request == torvel::OptionsRequest::RestorePage) {
            std::cout << torvel::RestorePage(parsed.options, parsed.restorePage, parsed.restoreVersion) << "\n";
            return 0;
        }
        torvel::TorvelServer server(parsed.options);
        server.Run();
        return 0;
    } catch (const std::invalid_argument& error) {
        std::cerr << "torvel-server: " << error.what() << "\n" << torvel::ServerUsage();
        return 64;
    } catch (const std::exception& error) {
        std::cerr << "torvel-server: " << error.what() << "\n";
        return 1;
    }
}
