#pragma once

// A one-connection TCP peer on the loopback interface for tests of the client side of a dialogue:
// it accepts a single connection and runs a script on it in a thread of its own.

#include <arpa/inet.h>
#include <poll.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <thread>

namespace test_support {

// Reads up to and including the next LF; returns the line with its LF ("" at the end of the stream).
inline std::string ReadLineFrom(int socket)
{
    std::string line;
    char character = 0;
    while (::recv(socket, &character, 1, 0) == 1) {
        line += character;
        if (character == '\n')
            break;
    }
    return line;
}

// Reads exactly count bytes, or fewer when the stream ends first.
inline std::string ReadExactly(int socket, std::size_t count)
{
    std::string bytes(count, '\0');
    std::size_t done = 0;
    while (done < count) {
        const ssize_t result = ::recv(socket, bytes.data() + done, count - done, 0);
        if (result <= 0)
            break;
        done += static_cast<std::size_t>(result);
    }
    bytes.resize(done);
    return bytes;
}

// Everything until the client closes the connection.
inline std::string ReadToEnd(int socket)
{
    std::string bytes;
    char buffer[4096];
    for (;;) {
        const ssize_t result = ::recv(socket, buffer, sizeof buffer, 0);
        if (result <= 0)
            return bytes;
        bytes.append(buffer, static_cast<std::size_t>(result));
    }
}

inline void WriteText(int socket, const std::string& text)
{
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t result = ::send(socket, text.data() + done, text.size() - done, MSG_NOSIGNAL);
        if (result <= 0)
            return;
        done += static_cast<std::size_t>(result);
    }
}

class LoopbackPeer {
public:
    using Script = std::function<void(int socket)>;

    explicit LoopbackPeer(Script script)
    {
        m_listener = ::socket(AF_INET, SOCK_STREAM, 0);
        if (m_listener < 0)
            throw std::runtime_error("test peer: socket failed");
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (::bind(m_listener, reinterpret_cast<sockaddr*>(&address), length) != 0 || ::listen(m_listener, 1) != 0
            || ::getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &length) != 0)
            throw std::runtime_error("test peer: cannot listen");
        m_port = ntohs(address.sin_port);
        m_thread = std::thread([this, script = std::move(script)] { Serve(script); });
    }

    // A client that connected is served even when the test is already over: its connection may
    // still wait in the backlog while the client has finished talking.
    ~LoopbackPeer()
    {
        m_stopping = true;
        m_thread.join();
        ::close(m_listener);
    }

    LoopbackPeer(const LoopbackPeer&) = delete;
    LoopbackPeer& operator=(const LoopbackPeer&) = delete;

    std::uint16_t Port() const { return m_port; }
    std::string Address() const { return "127.0.0.1:" + std::to_string(m_port); }

private:
    void Serve(const Script& script)
    {
        pollfd waiting{m_listener, POLLIN, 0};
        while (::poll(&waiting, 1, 20) <= 0) {
            if (m_stopping)
                return;
        }
        const int connection = ::accept(m_listener, nullptr, nullptr);
        if (connection < 0)
            return;
        script(connection);
        ::close(connection);
    }

    int m_listener = -1;
    std::uint16_t m_port = 0;
    std::atomic<bool> m_stopping = false;
    std::thread m_thread;
};

}  // namespace test_support
