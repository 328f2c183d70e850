#pragma once

#include "command_script.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace torvel {

struct ResultFile {
    std::string name;  // as announced: the file name without its directory
    std::filesystem::path path;
    std::uint64_t size = 0;
};

// The files of the work directory that the "get" and "mget" requests name, in request order and
// each only once. Only regular files are taken, never symbolic links or anything below one, so a
// tool cannot make the server send a file from outside the job.
std::vector<ResultFile> FindResultFiles(const std::filesystem::path& work, const std::vector<ResultRequest>& requests);

}  // namespace torvel
