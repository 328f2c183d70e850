#include "directory_option.h"

#include <cstring>
#include <filesystem>

std::string TakeDirectoryOption(int& argc, char** argv)
{
    std::string directory = std::filesystem::temp_directory_path().string();
    const std::string option = "--directory=";
    int kept = 1;
    for (int index = 1; index < argc; ++index) {
        if (std::strncmp(argv[index], option.c_str(), option.size()) == 0)
            directory = argv[index] + option.size();
        else
            argv[kept++] = argv[index];
    }
    argc = kept;
    return directory;
}
