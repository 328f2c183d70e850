#pragma once

#include "utils/server_connection.h"

#include <chrono>
#include <string>

// Moving one page between a file here and the server's web root, through the maintenance service.
// Each transfer uses a connection of its own. Every failure is thrown as std::exception with the
// reason: the server's abort reason, a protocol error, a time-out, or a file error.
namespace remote_page {

struct Endpoint {
    utils::ServerAddress address;
    // For connecting and for each phase of the dialogue, so that a silent server cannot hold the
    // window for long.
    std::chrono::milliseconds timeLimit{15000};
};

// Fetches the page at serverPath into the file `destination`.
void Download(const Endpoint& endpoint, const std::string& serverPath, const std::string& destination);
// Sends the file `source` to serverPath.
void Upload(const Endpoint& endpoint, const std::string& source, const std::string& serverPath);

}  // namespace remote_page
