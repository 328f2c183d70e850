#pragma once

#include <stdexcept>
#include <string>

// Pages held on the server: the editor is started with "http://HOST/PATH" or "ftp://HOST/PATH", and
// the document receives that address completed like a file name ("/current/dir/http:/HOST/PATH").
namespace remote_page {

// The web root as clients name it; the server maps it to its own.
inline constexpr const char* WebRoot = "/var/www/html";

// Whether a document path (completed or not) names a page held on the server.
bool IsRemote(const std::string& path);

// The page's path on the server: for http, the web root followed by the path (and the host, when
// it is not `defaultHost`), with "index.html" for a directory; for ftp, "/HOST/PATH". Throws
// std::invalid_argument with a clear message for an address whose host has a user name, a password
// or a port, or whose path has a query or a fragment: those cannot be turned into a server path.
std::string ServerPath(const std::string& path, const std::string& defaultHost);

}  // namespace remote_page
