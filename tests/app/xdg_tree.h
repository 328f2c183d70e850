#pragma once

// A private freedesktop tree for a test: the XDG directories, the desktop and PATH point into a
// scratch directory while the object lives, so that associations come only from what the test
// writes there.

#include "utils/test_scratch_directory.h"

#include <cstdlib>
#include <filesystem>
#include <map>
#include <optional>
#include <string>

namespace app::testing {

class XdgTree {
public:
    XdgTree()
    {
        Set("XDG_CONFIG_HOME", m_root / "config");
        Set("XDG_CONFIG_DIRS", m_root / "etc-xdg");
        Set("XDG_DATA_HOME", m_root / "data");
        Set("XDG_DATA_DIRS", m_root / "system");
        Set("XDG_CURRENT_DESKTOP", "TestDesk");
        Set("PATH", m_root / "bin" + ":/usr/bin:/bin");
        for (const char* directory : {"config", "etc-xdg", "data/mime", "data/applications", "system/mime",
                                      "system/applications", "bin"})
            std::filesystem::create_directories(m_root / directory);
    }
    ~XdgTree()
    {
        for (const auto& [name, value] : m_saved) {
            if (value)
                ::setenv(name.c_str(), value->c_str(), 1);
            else
                ::unsetenv(name.c_str());
        }
    }
    XdgTree(const XdgTree&) = delete;
    XdgTree& operator=(const XdgTree&) = delete;

    std::string operator/(const std::string& relative) const { return m_root / relative; }

    // Writes a file below the tree's root, with its directories.
    std::string Write(const std::string& relative, const std::string& content) const
    {
        const std::string path = m_root / relative;
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        utils::testing::WriteFile(path, content);
        return path;
    }
    // An executable script that writes its arguments, one per line, to PATH.args.
    std::string WriteRecordingProgram(const std::string& relative) const
    {
        const std::string path = Write(relative, "#!/bin/sh\nprintf '%s\\n' \"$@\" > \"$0.args.part\"\n"
                                                 "mv \"$0.args.part\" \"$0.args\"\n");
        std::filesystem::permissions(path, std::filesystem::perms::owner_all);
        return path;
    }

private:
    void Set(const std::string& name, const std::string& value)
    {
        if (m_saved.find(name) == m_saved.end()) {
            const char* old = std::getenv(name.c_str());
            m_saved[name] = old == nullptr ? std::nullopt : std::optional<std::string>(old);
        }
        ::setenv(name.c_str(), value.c_str(), 1);
    }

    utils::testing::ScratchDirectory m_root;
    std::map<std::string, std::optional<std::string>> m_saved;
};

}  // namespace app::testing
