#include "page_store.h"

#include "page_history.h"
#include "staged_file.h"

#include <sys/stat.h>

#include <stdexcept>

namespace torvel {
namespace {

constexpr mode_t kNewPageMode = 0644;  // readable by the web server

}  // namespace

StoredPage StorePage(const std::filesystem::path& source, const std::filesystem::path& target, const PageHistory& history)
{
    try {
        struct stat existing {};
        const bool replacing = ::stat(target.c_str(), &existing) == 0;
        StagedFile page(source, target.parent_path(), target.filename().string(),
                        replacing ? existing.st_mode & 07777 : kNewPageMode);
        StoredPage stored{page.Size(), page.Sha256(), std::nullopt, {}};
        if (replacing)
            stored.keptVersion = history.Keep(target);
        try {
            page.Replace(target);
        } catch (...) {
            if (stored.keptVersion)
                history.Forget(*stored.keptVersion);
            throw;
        }
        stored.historyProblem = history.Prune(target);
        return stored;
    } catch (const std::exception& failure) {
        throw std::runtime_error("cannot store " + target.filename().string() + ": " + failure.what());
    }
}

}  // namespace torvel
