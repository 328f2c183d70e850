#pragma once

#include <filesystem>

namespace torvel {

// A fresh directory for one job: `Work()` holds the uploads and results, `Temporary()` the tools'
// scratch files. Everything is removed when the object goes away, however the job ended.
class JobDirectory {
public:
    explicit JobDirectory(const std::filesystem::path& parent);
    JobDirectory(const JobDirectory&) = delete;
    JobDirectory& operator=(const JobDirectory&) = delete;
    ~JobDirectory();

    const std::filesystem::path& Root() const { return m_root; }
    std::filesystem::path Work() const { return m_root / "work"; }
    std::filesystem::path Temporary() const { return m_root / "tmp"; }

private:
    std::filesystem::path m_root;
};

}  // namespace torvel
