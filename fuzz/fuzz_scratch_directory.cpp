#include "fuzz_scratch_directory.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

FuzzScratchDirectory::FuzzScratchDirectory()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "quillwright-fuzz-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("cannot create a scratch directory");
    path_ = pattern;
}

FuzzScratchDirectory::~FuzzScratchDirectory()
{
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::string FuzzScratchDirectory::Write(const std::string& relativePath, const std::string& content) const
{
    const std::filesystem::path path = std::filesystem::path(path_) / relativePath;
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << content;
    return path.string();
}

std::string SourceTemplateDirectory()
{
    return std::string(QUILLWRIGHT_SOURCE_DIR) + "/template";
}
