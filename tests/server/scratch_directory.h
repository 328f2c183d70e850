#pragma once

#include <filesystem>
#include <fstream>
#include <string>

namespace torvel_test {

// A temporary directory for one test, removed at its end.
class ScratchDirectory {
public:
    ScratchDirectory()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "torvel-unit-XXXXXX").string();
        m_path = ::mkdtemp(pattern.data());
    }
    ~ScratchDirectory()
    {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    const std::filesystem::path& Path() const { return m_path; }
    std::filesystem::path Write(const std::string& relative, const std::string& contents) const
    {
        const auto path = m_path / relative;
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << contents;
        return path;
    }

private:
    std::filesystem::path m_path;
};

}  // namespace torvel_test
