#pragma once

#include "server_options.h"

#include <string>

namespace torvel {

// Puts a kept version of a page back in place, the newest one unless `version` names another. It
// is stored as the maintenance service stores pages: in one step, after keeping the page it
// replaces, so a restore can be undone in turn. PAGE is the client's name for it
// ("/var/www/html/..."), a path below the web root, or its full path. Returns what was done;
// throws std::runtime_error.
std::string RestorePage(const ServerOptions& options, const std::string& page, const std::string& version);

}  // namespace torvel
