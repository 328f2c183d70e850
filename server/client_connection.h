#pragma once

#include "ip_address.h"
#include "utils/file_descriptor.h"

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace torvel {

// The server end of one client connection. Every read and write waits at most the idle timeout;
// a client that stalls, closes early or sends an overlong line gets a ProtocolError.
class ClientConnection {
public:
    ClientConnection(utils::FileDescriptor socket, std::chrono::milliseconds idleTimeout);

    // One line without its LF (and without a CR before it).
    std::string ReadLine(std::size_t maximumLength);

    // Exactly `size` bytes, handed to `consume` in pieces.
    void ReceiveBlock(std::uint64_t size, const std::function<void(std::string_view)>& consume);

    void Send(std::string_view bytes);
    void SendFile(const std::filesystem::path& path, std::uint64_t size);

    // Ends the conversation without throwing away what was sent: stops writing, then reads and
    // drops what the client still sends for a short while, so an abort line is not lost to a reset.
    void FinishAndClose();

    // Bytes that arrived ahead of what was read, for headers that are not lines.
    const std::string& Received() const { return m_buffer; }
    // Waits for more bytes and adds them to Received().
    void ReceiveMore();
    // Drops a header read ahead of the dialogue; it does not count as the client speaking.
    void DiscardHeader(std::size_t length);

    // Where the connection comes from; empty when the client is already gone.
    const std::optional<ClientAddress>& Peer() const { return m_peer; }
    // False while the client has sent nothing at all, as a load balancer's health check does.
    bool HasSpoken() const { return m_bytesReceived > 0; }
    // Whether the client has ended its side of the connection.
    bool HasFinishedSending() const { return m_finishedSending; }

private:
    enum class Direction { Read, Write };
    void WaitUntilReady(Direction direction);
    std::size_t ReceiveSome(char* destination, std::size_t capacity);

    utils::FileDescriptor m_socket;
    std::chrono::milliseconds m_idleTimeout;
    std::optional<ClientAddress> m_peer;
    std::string m_buffer;  // bytes read ahead of the current line
    std::uint64_t m_bytesReceived = 0;
    bool m_finishedSending = false;
};

}  // namespace torvel
