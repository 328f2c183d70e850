#include "client_connection.h"

#include "protocol_error.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>

namespace torvel {
namespace {

constexpr std::size_t kChunkSize = 65536;

std::optional<ClientAddress> PeerOf(int socket)
{
    sockaddr_storage address{};
    socklen_t length = sizeof address;
    if (::getpeername(socket, reinterpret_cast<sockaddr*>(&address), &length) != 0)
        return std::nullopt;
    return ClientAddressOf(reinterpret_cast<const sockaddr&>(address));
}

}  // namespace

ClientConnection::ClientConnection(utils::FileDescriptor socket, std::chrono::milliseconds idleTimeout)
    : m_socket(std::move(socket)), m_idleTimeout(idleTimeout), m_peer(PeerOf(m_socket.Get()))
{
}

void ClientConnection::WaitUntilReady(Direction direction)
{
    pollfd entry{m_socket.Get(), static_cast<short>(direction == Direction::Read ? POLLIN : POLLOUT), 0};
    for (;;) {
        const int ready = ::poll(&entry, 1, static_cast<int>(m_idleTimeout.count()));
        if (ready > 0)
            return;
        if (ready == 0)
            throw ProtocolError("client idle for more than " + std::to_string(m_idleTimeout.count() / 1000) + " seconds");
        if (errno != EINTR)
            throw ProtocolError(std::string("connection failed: ") + std::strerror(errno));
    }
}

std::size_t ClientConnection::ReceiveSome(char* destination, std::size_t capacity)
{
    for (;;) {
        WaitUntilReady(Direction::Read);
        const ssize_t received = ::recv(m_socket.Get(), destination, capacity, 0);
        if (received > 0) {
            m_bytesReceived += static_cast<std::uint64_t>(received);
            return static_cast<std::size_t>(received);
        }
        if (received == 0) {
            m_finishedSending = true;
            throw ProtocolError("client closed the connection early");
        }
        if (errno != EINTR && errno != EAGAIN)
            throw ProtocolError(std::string("connection failed: ") + std::strerror(errno));
    }
}

std::string ClientConnection::ReadLine(std::size_t maximumLength)
{
    for (;;) {
        const std::size_t end = m_buffer.find('\n');
        if (end != std::string::npos) {
            if (end > maximumLength)
                throw ProtocolError("line longer than " + std::to_string(maximumLength) + " bytes");
            std::string line = m_buffer.substr(0, end);
            m_buffer.erase(0, end + 1);
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            return line;
        }
        if (m_buffer.size() > maximumLength)
            throw ProtocolError("line longer than " + std::to_string(maximumLength) + " bytes");
        ReceiveMore();
    }
}

void ClientConnection::ReceiveMore()
{
    std::array<char, 4096> chunk{};
    m_buffer.append(chunk.data(), ReceiveSome(chunk.data(), chunk.size()));
}

void ClientConnection::DiscardHeader(std::size_t length)
{
    m_buffer.erase(0, length);
    m_bytesReceived -= length;
}

void ClientConnection::ReceiveBlock(std::uint64_t size, const std::function<void(std::string_view)>& consume)
{
    const std::size_t fromBuffer = static_cast<std::size_t>(std::min<std::uint64_t>(size, m_buffer.size()));
    if (fromBuffer > 0) {
        consume(std::string_view(m_buffer).substr(0, fromBuffer));
        m_buffer.erase(0, fromBuffer);
    }
    std::uint64_t remaining = size - fromBuffer;
    std::string chunk(kChunkSize, '\0');
    while (remaining > 0) {
        const std::size_t wanted = static_cast<std::size_t>(std::min<std::uint64_t>(remaining, chunk.size()));
        const std::size_t received = ReceiveSome(chunk.data(), wanted);
        consume(std::string_view(chunk.data(), received));
        remaining -= received;
    }
}

void ClientConnection::Send(std::string_view bytes)
{
    while (!bytes.empty()) {
        WaitUntilReady(Direction::Write);
        const ssize_t sent = ::send(m_socket.Get(), bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (sent < 0) {
            if (errno == EINTR || errno == EAGAIN)
                continue;
            throw ProtocolError(std::string("connection failed: ") + std::strerror(errno));
        }
        bytes.remove_prefix(static_cast<std::size_t>(sent));
    }
}

void ClientConnection::SendFile(const std::filesystem::path& path, std::uint64_t size)
{
    utils::FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW));
    if (!file.IsOpen())
        throw std::runtime_error("cannot read result " + path.filename().string() + ": " + std::strerror(errno));
    std::string chunk(kChunkSize, '\0');
    std::uint64_t remaining = size;
    while (remaining > 0) {
        const ssize_t count = ::read(file.Get(), chunk.data(), static_cast<std::size_t>(std::min<std::uint64_t>(remaining, chunk.size())));
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0)
            throw std::runtime_error("result " + path.filename().string() + " changed while it was sent");
        Send(std::string_view(chunk.data(), static_cast<std::size_t>(count)));
        remaining -= static_cast<std::uint64_t>(count);
    }
}

void ClientConnection::FinishAndClose()
{
    if (!m_socket.IsOpen())
        return;
    ::shutdown(m_socket.Get(), SHUT_WR);
    // Bounded: a client that keeps sending is cut off after 64 MiB or two seconds.
    constexpr std::uint64_t kDrainLimit = 64ull << 20;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    std::uint64_t drained = 0;
    std::array<char, 65536> chunk{};
    pollfd entry{m_socket.Get(), POLLIN, 0};
    for (auto now = std::chrono::steady_clock::now(); drained < kDrainLimit && now < deadline;
         now = std::chrono::steady_clock::now()) {
        const auto wait = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - now).count() + 1;
        if (::poll(&entry, 1, static_cast<int>(wait)) <= 0)
            break;
        const ssize_t count = ::recv(m_socket.Get(), chunk.data(), chunk.size(), 0);
        if (count <= 0)
            break;
        drained += static_cast<std::uint64_t>(count);
    }
    m_socket.Reset();
}

}  // namespace torvel
