#include "job_directory.h"

#include <cerrno>
#include <cstring>
#include <iostream>
#include <stdexcept>
#include <string>
#include <sys/stat.h>

namespace torvel {

JobDirectory::JobDirectory(const std::filesystem::path& parent)
{
    std::string pattern = (parent / "torvel-job-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("cannot create a job directory in " + parent.string() + ": " + std::strerror(errno));
    m_root = pattern;
    std::error_code error;
    std::filesystem::create_directory(Work(), error);
    if (!error)
        std::filesystem::create_directory(Temporary(), error);
    if (error) {
        std::filesystem::remove_all(m_root, error);
        throw std::runtime_error("cannot create a job directory in " + parent.string());
    }
}

JobDirectory::~JobDirectory()
{
    // Tools may leave directories without write permission; give them back before removing.
    std::error_code error;
    for (auto entry = std::filesystem::recursive_directory_iterator(m_root, error);
         !error && entry != std::filesystem::recursive_directory_iterator(); entry.increment(error)) {
        if (entry->is_directory(error) && !entry->is_symlink(error))
            ::chmod(entry->path().c_str(), 0700);
    }
    std::filesystem::remove_all(m_root, error);
    if (error)
        std::cerr << "torvel-server: cannot remove job directory " << m_root.string() << ": " << error.message() << '\n';
}

}  // namespace torvel
