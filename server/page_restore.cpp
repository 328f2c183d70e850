#include "page_restore.h"

#include "page_history.h"
#include "page_store.h"
#include "web_root.h"

#include <algorithm>
#include <stdexcept>

namespace torvel {
namespace {

std::string ClientPathOf(const std::string& page, const WebRoot& webRoot)
{
    const std::string clientRoot = std::string(WebRoot::kClientName) + "/";
    const std::filesystem::path path(page);
    if (page.starts_with(clientRoot))
        return page;
    if (path.is_relative())
        return clientRoot + page;
    const std::filesystem::path relative = path.lexically_normal().lexically_relative(webRoot.Directory());
    if (relative.empty() || *relative.begin() == "..")
        throw std::runtime_error("page " + page + " is not inside the web root " + webRoot.Directory().string());
    return clientRoot + relative.string();
}

std::string Joined(const std::vector<std::string>& items)
{
    std::string text;
    for (const auto& item : items)
        text.append(text.empty() ? "" : ", ").append(item);
    return text;
}

}  // namespace

std::string RestorePage(const ServerOptions& options, const std::string& page, const std::string& version)
{
    const WebRoot webRoot(options.webRoot);
    const PageHistory history(options.pageHistory, options.pageHistoryDepth, webRoot);
    history.CheckUsable();
    const std::string clientPath = ClientPathOf(page, webRoot);
    const std::filesystem::path target = webRoot.PageToWrite(clientPath);
    const std::vector<std::string> versions = history.Versions(target);
    if (versions.empty())
        throw std::runtime_error("no versions of " + clientPath + " are kept in " + history.Directory().string());
    if (!version.empty() && std::find(versions.begin(), versions.end(), version) == versions.end())
        throw std::runtime_error("no version " + version + " of " + clientPath + " is kept; there are " + Joined(versions));
    const std::string chosen = version.empty() ? versions.back() : version;
    const StoredPage stored = StorePage(history.VersionPath(target, chosen), target, history);
    std::string report = "restored " + clientPath + " from version " + chosen + " (" + std::to_string(stored.size) +
                         " bytes, sha256 " + stored.sha256 + ")";
    if (stored.keptVersion)
        report += "; the page it replaced is kept as " + stored.keptVersion->string();
    if (!stored.historyProblem.empty())
        report += "\npage history: " + stored.historyProblem;
    return report;
}

}  // namespace torvel
