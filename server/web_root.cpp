#include "web_root.h"

#include "protocol_error.h"

namespace torvel {

WebRoot::WebRoot(const std::filesystem::path& directory)
{
    std::error_code error;
    m_directory = std::filesystem::canonical(directory, error);
    if (error || !std::filesystem::is_directory(m_directory))
        throw std::runtime_error("web root " + directory.string() + " is not a directory");
}

bool WebRoot::Inside(const std::filesystem::path& resolved) const
{
    const std::string root = m_directory.string();
    const std::string path = resolved.string();
    return path == root || (path.starts_with(root) && (root.ends_with('/') || path[root.size()] == '/'));
}

std::filesystem::path WebRoot::MapClientPath(const std::string& clientPath) const
{
    const std::string prefix = kClientName;
    if (clientPath.find('\0') != std::string::npos)
        throw ProtocolError("path contains a NUL byte");
    if (!clientPath.starts_with(prefix + "/"))
        throw ProtocolError("path \"" + clientPath + "\" is not below " + prefix);
    const std::string rest = clientPath.substr(prefix.size() + 1);
    std::error_code error;
    const std::filesystem::path resolved = std::filesystem::weakly_canonical(m_directory / rest, error);
    if (error || !Inside(resolved))
        throw ProtocolError("path \"" + clientPath + "\" leads outside the web root");
    return resolved;
}

std::optional<std::filesystem::path> WebRoot::PageToRead(const std::string& clientPath) const
{
    const std::filesystem::path page = MapClientPath(clientPath);
    std::error_code error;
    if (!std::filesystem::is_regular_file(page, error))
        return std::nullopt;
    return page;
}

std::filesystem::path WebRoot::PageToWrite(const std::string& clientPath) const
{
    const std::filesystem::path page = MapClientPath(clientPath);
    std::error_code error;
    const auto status = std::filesystem::status(page, error);
    if (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status))
        throw ProtocolError("path \"" + clientPath + "\" is not a page");
    if (!std::filesystem::is_directory(page.parent_path(), error))
        throw ProtocolError("directory of \"" + clientPath + "\" does not exist");
    return page;
}

}  // namespace torvel
