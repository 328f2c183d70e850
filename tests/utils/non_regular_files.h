#pragma once

// One file system entry of every kind that is not a regular file, for tests of the code that must
// refuse them. A reader that waits on the named pipe is released by a watchdog, so that code which
// wrongly opens it fails its test instead of hanging it.

#include <atomic>
#include <chrono>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <thread>
#include <vector>

#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace utils::testing {

struct SpecialFile {
    std::string kind;  // as messages name it: "a named pipe (FIFO)", ...
    std::string path;
};

class SpecialFiles {
public:
    // Creates "<stem>-directory.tex", "<stem>-pipe.tex", "<stem>-socket.tex" and symbolic links
    // "<stem>-character-device.tex" to /dev/zero (which never ends) and "<stem>-block-device.tex"
    // to the first block device in /dev, when the system shows one.
    explicit SpecialFiles(const std::string& directory, const std::string& stem = "special")
        : m_pipe(directory + "/" + stem + "-pipe.tex")
    {
        const std::string prefix = directory + "/" + stem;
        std::filesystem::create_directory(prefix + "-directory.tex");
        m_files.push_back({"a directory", prefix + "-directory.tex"});
        if (::mkfifo(m_pipe.c_str(), 0644) != 0)
            throw std::runtime_error("cannot create a named pipe");
        m_files.push_back({"a named pipe (FIFO)", m_pipe});
        MakeSocket(prefix + "-socket.tex");
        m_files.push_back({"a socket", prefix + "-socket.tex"});
        std::filesystem::create_symlink("/dev/zero", prefix + "-character-device.tex");
        m_files.push_back({"a character device", prefix + "-character-device.tex"});
        if (const std::string device = FirstBlockDevice(); !device.empty()) {
            std::filesystem::create_symlink(device, prefix + "-block-device.tex");
            m_files.push_back({"a block device", prefix + "-block-device.tex"});
        }
        m_watchdog = std::thread([this] { ReleaseWaitingReaders(); });
    }
    ~SpecialFiles()
    {
        m_stop = true;
        m_watchdog.join();
    }
    SpecialFiles(const SpecialFiles&) = delete;
    SpecialFiles& operator=(const SpecialFiles&) = delete;

    const std::vector<SpecialFile>& All() const { return m_files; }
    // Whether anything opened the named pipe for reading and had to be released.
    bool PipeReaderWasReleased() const { return m_released; }

private:
    static void MakeSocket(const std::string& path)
    {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        if (path.size() >= sizeof address.sun_path)
            throw std::runtime_error("socket path too long: " + path);
        std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
        const int socket = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        const bool bound = socket >= 0 && ::bind(socket, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
        if (socket >= 0)
            ::close(socket);  // the socket file stays
        if (!bound)
            throw std::runtime_error("cannot create a socket file");
    }

    static std::string FirstBlockDevice()
    {
        std::error_code ignored;
        for (const auto& entry : std::filesystem::directory_iterator("/dev", ignored)) {
            if (entry.is_block_file(ignored))
                return entry.path().string();
        }
        return {};
    }

    void ReleaseWaitingReaders()
    {
        while (!m_stop) {
            // Opening for writing without blocking succeeds only while a reader has the pipe open.
            const int writer = ::open(m_pipe.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
            if (writer >= 0) {
                m_released = true;
                ::close(writer);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    }

    std::string m_pipe;
    std::vector<SpecialFile> m_files;
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_released{false};
    std::thread m_watchdog;
};

}  // namespace utils::testing
