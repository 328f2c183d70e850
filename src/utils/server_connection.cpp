#include "utils/server_connection.h"

#include "utils/error_reporting.h"
#include "utils/file_streams.h"
#include "utils/file_utils.h"
#include "utils/message_format.h"
#include "utils/socket_error.h"
#include "utils/string_table.h"
#include "utils/string_utils.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <limits>
#include <memory>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

namespace utils {

namespace {

constexpr unsigned int kSendFailed = 20000;
constexpr unsigned int kReceiveFailed = 20001;
constexpr unsigned int kCreateFailed = 20002;
constexpr unsigned int kConnectFailed = 20005;
constexpr int kConnectionReset = 10054;

// A vanished server is noticed after about two minutes of silence on the line.
constexpr int kKeepAliveIdleSeconds = 60;
constexpr int kKeepAliveIntervalSeconds = 10;
constexpr int kKeepAliveProbes = 6;

// One receive call never asks for more than this, whatever the block size.
constexpr std::size_t kLargestReceive = std::size_t{1} << 30;
// Discarded bytes pass through a buffer of this size instead of one as large as the block.
constexpr std::size_t kDiscardBufferSize = 64 * 1024;
// Received chunks collected before one write to the file.
constexpr std::size_t kChunksPerWrite = 8;

constexpr std::int64_t kHighestPort = 65535;

struct AddressListDeleter {
    void operator()(addrinfo* list) const { freeaddrinfo(list); }
};
using AddressList = std::unique_ptr<addrinfo, AddressListDeleter>;

std::int32_t LeadingDecimalNumber(const std::string& text)
{
    std::int64_t value = 0;
    for (const char character : text) {
        if (character < '0' || character > '9')
            break;
        value = std::min<std::int64_t>(value * 10 + (character - '0'), std::numeric_limits<std::int32_t>::max());
    }
    return static_cast<std::int32_t>(value);
}

std::string DurationText(std::chrono::milliseconds duration)
{
    const auto seconds = std::chrono::ceil<std::chrono::seconds>(duration).count();
    return std::to_string(seconds) + (seconds == 1 ? " second" : " seconds");
}

// A failed receive with what went wrong spelled out after the system's text.
[[noreturn]] void ThrowReceiveFailure(int errorNumber, const std::string& explanation)
{
    const std::string messageTemplate = MessageFormat(LoadResourceString(kReceiveFailed)) % ("{} (" + explanation + ")");
    throw tvl_utils::socket_error(messageTemplate, SocketErrorCodeFromErrno(errorNumber));
}

// The host's name goes into the message, so the user sees which name failed.
[[noreturn]] void ThrowHostNotFound(const std::string& host, int code)
{
    const std::string messageTemplate = MessageFormat(LoadResourceString(kConnectFailed)) % ("{} (" + host + ")");
    throw tvl_utils::socket_error(messageTemplate, code);
}

AddressList ResolveAddress(const ServerAddress& address)
{
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_NUMERICSERV;
    addrinfo* list = nullptr;
    const std::string port = std::to_string(address.port);
    const int result = getaddrinfo(address.host.c_str(), port.c_str(), &hints, &list);
    if (result != 0)
        ThrowHostNotFound(address.host, SocketErrorCodeFromAddressLookup(result, errno));
    return AddressList(list);
}

void ReportProgress(ProgressFn progress, void* context, std::uint64_t total)
{
    if (progress != nullptr)
        progress(total, context);
}

}  // namespace

ServerAddress::ServerAddress(const std::string& text) : host(text)
{
    const auto colon = text.find(':');
    if (colon == std::string::npos)
        return;
    host = text.substr(0, colon);
    port = LeadingDecimalNumber(text.substr(colon + 1));
}

ServerConnection::~ServerConnection()
{
    Close();
}

void ServerConnection::Create(std::uint16_t localPort, SocketType)
{
    m_localPort = localPort;
    OpenSocket(AF_INET);
}

void ServerConnection::OpenSocket(int family)
{
    Close();
    m_socket = ::socket(family, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (m_socket < 0)
        ThrowSocketError(kCreateFailed);
    m_family = family;
    if (m_localPort == 0)
        return;
    sockaddr_storage local{};
    socklen_t length = 0;
    if (family == AF_INET6) {
        auto& address = reinterpret_cast<sockaddr_in6&>(local);
        address.sin6_family = AF_INET6;
        address.sin6_port = htons(m_localPort);
        length = sizeof address;
    } else {
        auto& address = reinterpret_cast<sockaddr_in&>(local);
        address.sin_family = AF_INET;
        address.sin_port = htons(m_localPort);
        length = sizeof address;
    }
    if (::bind(m_socket, reinterpret_cast<sockaddr*>(&local), length) != 0)
        ThrowSocketError(kCreateFailed);
}

void ServerConnection::SetConnectionOptions()
{
    const int on = 1;
    // The dialogue is short lines in turn; waiting to merge them with later data only adds latency.
    setsockopt(m_socket, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    // Keep-alive only shortens the wait for a vanished server; a connection works without it.
    setsockopt(m_socket, SOL_SOCKET, SO_KEEPALIVE, &on, sizeof on);
    setsockopt(m_socket, IPPROTO_TCP, TCP_KEEPIDLE, &kKeepAliveIdleSeconds, sizeof kKeepAliveIdleSeconds);
    setsockopt(m_socket, IPPROTO_TCP, TCP_KEEPINTVL, &kKeepAliveIntervalSeconds, sizeof kKeepAliveIntervalSeconds);
    setsockopt(m_socket, IPPROTO_TCP, TCP_KEEPCNT, &kKeepAliveProbes, sizeof kKeepAliveProbes);
}

void ServerConnection::Connect(const ServerAddress& address)
{
    if (address.port > kHighestPort)
        ThrowSocketError(kConnectFailed, SocketErrorCodeFromErrno(EINVAL));
    const AddressList candidates = ResolveAddress(address);
    int error = ECONNREFUSED;
    bool socketUsed = false;
    // A name may stand for several addresses (IPv6 and IPv4 for localhost); the first that accepts wins.
    for (const addrinfo* candidate = candidates.get(); candidate != nullptr; candidate = candidate->ai_next) {
        if (m_socket < 0 || socketUsed || candidate->ai_family != m_family)
            OpenSocket(candidate->ai_family);
        socketUsed = true;
        if (TryConnect(candidate->ai_addr, candidate->ai_addrlen, error)) {
            SetConnectionOptions();
            return;
        }
    }
    ThrowSocketError(kConnectFailed, SocketErrorCodeFromErrno(error));
}

bool ServerConnection::TryConnect(const void* address, unsigned addressLength, int& error)
{
    if (m_connectLimit.count() > 0) {
        // connect() honours the send time-out and then fails with EINPROGRESS.
        const timeval limit{static_cast<time_t>(m_connectLimit.count() / 1000),
                            static_cast<suseconds_t>(m_connectLimit.count() % 1000 * 1000)};
        setsockopt(m_socket, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
    }
    if (::connect(m_socket, static_cast<const sockaddr*>(address), addressLength) == 0)
        return true;
    if (errno == EINPROGRESS && m_connectLimit.count() > 0) {
        error = ETIMEDOUT;
        return false;
    }
    if (errno != EINTR) {
        error = errno;
        return false;
    }
    // An interrupted connect goes on in the background; wait for its outcome.
    pollfd waiting{m_socket, POLLOUT, 0};
    const int waitLimit = m_connectLimit.count() > 0 ? static_cast<int>(m_connectLimit.count()) : -1;
    for (int ready; (ready = ::poll(&waiting, 1, waitLimit)) <= 0;) {
        if (ready == 0) {
            error = ETIMEDOUT;
            return false;
        }
        if (errno != EINTR) {
            error = errno;
            return false;
        }
    }
    socklen_t length = sizeof error;
    if (getsockopt(m_socket, SOL_SOCKET, SO_ERROR, &error, &length) != 0)
        error = errno;
    return error == 0;
}

void ServerConnection::SendText(std::string_view text)
{
    SendBlock(text.data(), text.size(), nullptr, nullptr);
}

void ServerConnection::SendBlock(const char* data, std::uint64_t count, ProgressFn progress, void* context)
{
    std::uint64_t sent = 0;
    while (sent < count) {
        const std::size_t piece = static_cast<std::size_t>(std::min<std::uint64_t>(count - sent, chunkSize));
        const ssize_t result = ::send(m_socket, data + sent, piece, MSG_NOSIGNAL);
        if (result < 0) {
            if (errno == EINTR)
                continue;
            ThrowSocketError(kSendFailed);
        }
        sent += static_cast<std::uint64_t>(result);
        if (result > 0)
            ReportProgress(progress, context, sent);
    }
    ReportProgress(progress, context, sent);
}

void ServerConnection::LimitPhase(std::chrono::milliseconds timeLimit)
{
    m_phaseLimit = timeLimit;
    m_phaseDeadline = std::chrono::steady_clock::now() + timeLimit;
}

// Waits until bytes can be received, for no longer than the phase has left.
void ServerConnection::AwaitData()
{
    if (!m_phaseDeadline)
        return;
    for (;;) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(*m_phaseDeadline - std::chrono::steady_clock::now());
        pollfd waiting{m_socket, POLLIN, 0};
        const int ready = left.count() <= 0 ? 0 : ::poll(&waiting, 1, static_cast<int>(std::min<std::int64_t>(left.count(), 60000)));
        if (ready > 0)
            return;
        if (ready < 0 && errno != EINTR)
            ThrowSocketError(kReceiveFailed);
        if (ready == 0 && std::chrono::steady_clock::now() >= *m_phaseDeadline)
            ThrowReceiveFailure(ETIMEDOUT, "the server did not finish within " + DurationText(m_phaseLimit));
    }
}

std::size_t ServerConnection::ReceiveSome(char* destination, std::size_t count)
{
    for (;;) {
        AwaitData();
        const ssize_t result = ::recv(m_socket, destination, count, 0);
        if (result > 0)
            return static_cast<std::size_t>(result);
        if (result == 0)
            ThrowSocketError(kReceiveFailed, kConnectionReset);
        if (errno != EINTR)
            ThrowSocketError(kReceiveFailed);
    }
}

std::size_t ServerConnection::TakeBuffered(char* destination, std::size_t count)
{
    const std::size_t taken = std::min(count, m_buffered);
    if (destination != nullptr)
        std::memcpy(destination, m_readAhead, taken);
    std::memmove(m_readAhead, m_readAhead + taken, m_buffered - taken);
    m_buffered -= taken;
    return taken;
}

void ServerConnection::ReceiveBlock(char* destination, std::uint64_t count, ProgressFn progress, void* context)
{
    if (count == 0)
        return;
    if (m_buffered >= count) {
        TakeBuffered(destination, static_cast<std::size_t>(count));
        ReportProgress(progress, context, count);
        return;
    }
    std::uint64_t received = 0;
    if (m_buffered > 0) {
        received = TakeBuffered(destination, m_buffered);
        if (destination != nullptr)
            destination += received;
        ReportProgress(progress, context, received);
    }
    std::unique_ptr<char[]> discard;
    if (destination == nullptr)
        discard = std::make_unique<char[]>(kDiscardBufferSize);
    while (received < count) {
        const std::uint64_t missing = count - received;
        const std::size_t limit = destination != nullptr ? kLargestReceive : kDiscardBufferSize;
        const std::size_t asked = static_cast<std::size_t>(std::min<std::uint64_t>(missing, limit));
        const std::size_t got = ReceiveSome(destination != nullptr ? destination : discard.get(), asked);
        if (destination != nullptr)
            destination += got;
        received += got;
        ReportProgress(progress, context, received);
    }
}

std::string ServerConnection::ReadLine()
{
    std::string line;
    for (;;) {
        const char* begin = m_readAhead;
        const char* end = begin + m_buffered;
        const char* lineFeed = std::find(begin, end, '\n');
        if (lineFeed != end) {
            const std::size_t length = static_cast<std::size_t>(lineFeed - begin);
            line.append(m_readAhead, length);
            TakeBuffered(nullptr, length + 1);
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            return line;
        }
        line.append(m_readAhead, m_buffered);
        m_buffered = 0;
        if (line.size() > maximumLineLength)
            ThrowReceiveFailure(EMSGSIZE, "the server sent a line longer than " + std::to_string(maximumLineLength) + " bytes");
        m_buffered = ReceiveSome(m_readAhead, readAheadSize);
    }
}

ServerReply SplitReply(const std::string& line)
{
    const auto space = line.find(' ');
    if (space == std::string::npos)
        return {Trim(line), {}};
    return {Trim(line.substr(0, space)), Trim(line.substr(space + 1))};
}

ServerReply ServerConnection::ReadReply()
{
    return SplitReply(ReadLine());
}

void ServerConnection::SendFile(const std::string& path, std::uint64_t count, ProgressFn progress, void* context)
{
    sifstream file(path, std::ios_base::in | std::ios_base::binary);
    if (count == unknownFileSize)
        count = static_cast<std::uint64_t>(std::max<std::int64_t>(FileSize(path), 0));
    char buffer[chunkSize];
    std::uint64_t sent = 0;
    while (sent < count) {
        const std::size_t piece = static_cast<std::size_t>(std::min<std::uint64_t>(count - sent, chunkSize));
        file.read(buffer, static_cast<std::streamsize>(piece));
        // A file that shrank since its size was announced would desynchronise the data stream.
        if (static_cast<std::size_t>(file.gcount()) != piece)
            ThrowSystemErrorWithPrefix("failed to read file\n" + path + "\n", file.bad() ? kLastError : EIO);
        SendBlock(buffer, piece, nullptr, nullptr);
        sent += piece;
        ReportProgress(progress, context, sent);
    }
}

namespace {

void WriteReceived(sofstream& file, const std::string& path, const std::vector<char>& buffer, std::size_t count)
{
    if (count > 0 && !file.write(buffer.data(), static_cast<std::streamsize>(count)))
        ThrowSystemErrorWithPrefix("failed to write file\n" + path + "\n");
}

}  // namespace

void ServerConnection::ReceiveFile(const std::string& path, std::uint64_t count, ProgressFn progress, void* context)
{
    sofstream file(path, std::ios_base::out | std::ios_base::binary | std::ios_base::trunc);
    try {
        ReceiveIntoFile(file, path, count, progress, context);
    } catch (...) {
        // A file cut short would look like a result; none is better than a broken one.
        file.close();
        std::remove(path.c_str());
        throw;
    }
}

// Chunks arrive and are reported one by one, but reach the file several at a time: one write per
// chunk would cost as much as the transfer itself.
void ServerConnection::ReceiveIntoFile(sofstream& file, const std::string& path, std::uint64_t count,
                                       ProgressFn progress, void* context)
{
    std::vector<char> buffer(chunkSize * kChunksPerWrite);
    std::size_t filled = 0;
    std::uint64_t received = 0;
    while (received < count) {
        const std::size_t piece = static_cast<std::size_t>(std::min<std::uint64_t>(count - received, chunkSize));
        ReceiveBlock(buffer.data() + filled, piece, nullptr, nullptr);
        filled += piece;
        received += piece;
        ReportProgress(progress, context, received);
        if (filled + chunkSize > buffer.size()) {
            WriteReceived(file, path, buffer, filled);
            filled = 0;
        }
    }
    WriteReceived(file, path, buffer, filled);
    file.close();
    if (file.fail())
        ThrowSystemErrorWithPrefix("failed to write file\n" + path + "\n");
}

void ServerConnection::Close()
{
    if (m_socket < 0)
        return;
    ::close(m_socket);
    m_socket = -1;
    m_buffered = 0;
}

}  // namespace utils
