#pragma once

#include <filesystem>

namespace torvel {

// The places of one job: uploads and results, the tools' scratch files, and the record of what the
// last tool printed.
struct JobPaths {
    std::filesystem::path work;
    std::filesystem::path temporary;
    std::filesystem::path transcript;
};

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
    // The transcript lies outside the directories a sandboxed tool can reach.
    JobPaths Paths() const { return {Work(), Temporary(), m_root / "transcript.txt"}; }

private:
    std::filesystem::path m_root;
};

}  // namespace torvel
