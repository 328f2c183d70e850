#include "documents/remote_page_address.h"

#include <array>

namespace remote_page {

namespace {

struct Scheme {
    const char* name;
    const char* completedMarker;  // the scheme as a completed file name holds it
    const char* addressPrefix;    // the scheme as typed
};

constexpr std::array<Scheme, 2> Schemes = {{{"ftp", "/ftp:/", "ftp://"}, {"http", "/http:/", "http://"}}};

struct Location {
    const Scheme* scheme = nullptr;
    std::string hostAndPath;  // "/HOST/PATH"
};

Location Locate(const std::string& path)
{
    for (const Scheme& scheme : Schemes) {
        const std::string typed = scheme.addressPrefix;
        if (path.compare(0, typed.size(), typed) == 0)
            return {&scheme, path.substr(typed.size() - 1)};
        const std::size_t marker = path.find(scheme.completedMarker);
        if (marker != std::string::npos)
            return {&scheme, path.substr(marker + std::string(scheme.completedMarker).size() - 1)};
    }
    return {};
}

void RefuseUnusableParts(const std::string& host, const std::string& pagePath)
{
    if (host.empty())
        throw std::invalid_argument("the page address names no host");
    if (host.find('@') != std::string::npos)
        throw std::invalid_argument("the page address may not contain a user name or password (" + host + ")");
    if (host.find(':') != std::string::npos)
        throw std::invalid_argument("the page address may not name a port (" + host
                                    + "): pages are edited through the server's maintenance service");
    if (pagePath.find_first_of("?#") != std::string::npos)
        throw std::invalid_argument("the page address may not contain a query or a fragment (" + pagePath + ")");
}

}  // namespace

bool IsRemote(const std::string& path)
{
    return Locate(path).scheme != nullptr;
}

std::string ServerPath(const std::string& path, const std::string& defaultHost)
{
    const Location location = Locate(path);
    if (location.scheme == nullptr)
        throw std::invalid_argument("not the address of a page on a server: " + path);
    const std::string& hostAndPath = location.hostAndPath;
    const std::size_t pathStart = hostAndPath.find('/', 1);
    const std::string host = hostAndPath.substr(1, pathStart == std::string::npos ? std::string::npos : pathStart - 1);
    const std::string pagePath = pathStart == std::string::npos ? std::string() : hostAndPath.substr(pathStart);
    RefuseUnusableParts(host, pagePath);
    if (std::string(location.scheme->name) == "ftp")
        return hostAndPath;
    std::string serverPath = host == defaultHost ? pagePath : hostAndPath;
    if (serverPath.empty() || serverPath.back() == '/')
        serverPath += serverPath.empty() ? "/index.html" : "index.html";
    return WebRoot + serverPath;
}

}  // namespace remote_page
