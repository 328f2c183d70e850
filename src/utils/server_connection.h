#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace utils {

class sofstream;

// "host:port"; the port is read from the leading digits after the first colon (none gives 0).
struct ServerAddress {
    explicit ServerAddress(const std::string& text);

    std::string host;
    std::int32_t port = 0;
};

// A server reply line cut at its first blank, both parts trimmed of blanks, CR, LF and tabs.
struct ServerReply {
    std::string word;
    std::string rest;
};

// A line of the server cut as ServerReply describes.
ServerReply SplitReply(const std::string& line);

// Called during transfers with the number of bytes moved so far by the current call.
using ProgressFn = void (*)(std::uint64_t transferred, void* context);

// Passed as a file count: send the whole file.
inline constexpr std::uint64_t unknownFileSize = ~std::uint64_t{0};

enum class SocketType {
    Stream,
};

// The blocking client end of a line-oriented TCP dialogue with the processing server. Lines are cut
// from a small read-ahead buffer; blocks and files move in chunks of chunkSize bytes. Every failure
// is thrown as tvl_utils::socket_error; the connection is then unusable and is closed by its
// destructor. TCP keep-alive is on, so a server that vanishes ends a wait with an error; a line
// longer than maximumLineLength and a phase that outlasts its time limit end it as well, so that a
// hostile server can neither fill the memory nor hold a job forever.
class ServerConnection {
public:
    static constexpr std::size_t chunkSize = 8192;
    static constexpr std::size_t readAheadSize = 1000;
    static constexpr std::size_t maximumLineLength = 64 * 1024;

    ServerConnection() = default;
    ~ServerConnection();
    ServerConnection(const ServerConnection&) = delete;
    ServerConnection& operator=(const ServerConnection&) = delete;

    // Creates the socket, bound to the local port (0: any).
    void Create(std::uint16_t localPort, SocketType type);
    void Connect(const ServerAddress& address);

    void SendText(std::string_view text);
    void SendBlock(const char* data, std::uint64_t count, ProgressFn progress, void* context);
    // destination may be null: the bytes are read and discarded.
    void ReceiveBlock(char* destination, std::uint64_t count, ProgressFn progress, void* context);

    // One line without its LF and without one CR before it.
    std::string ReadLine();
    ServerReply ReadReply();

    void SendFile(const std::string& path, std::uint64_t count, ProgressFn progress, void* context);
    // A file cut short by an error is removed.
    void ReceiveFile(const std::string& path, std::uint64_t count, ProgressFn progress, void* context);

    // Every receive from now until the next call must be done within timeLimit in all.
    void LimitPhase(std::chrono::milliseconds timeLimit);
    // Each later Connect gives up on an address that has not answered within timeLimit.
    void LimitConnect(std::chrono::milliseconds timeLimit) { m_connectLimit = timeLimit; }

    void Close();

private:
    void OpenSocket(int family);
    void SetConnectionOptions();
    bool TryConnect(const void* address, unsigned addressLength, int& error);
    void AwaitData();
    std::size_t ReceiveSome(char* destination, std::size_t count);
    std::size_t TakeBuffered(char* destination, std::size_t count);
    void ReceiveIntoFile(sofstream& file, const std::string& path, std::uint64_t count, ProgressFn progress,
                         void* context);

    int m_socket = -1;
    int m_family = 0;
    std::uint16_t m_localPort = 0;
    char m_readAhead[readAheadSize] = {};
    std::size_t m_buffered = 0;
    std::chrono::milliseconds m_phaseLimit{0};
    std::chrono::milliseconds m_connectLimit{0};
    std::optional<std::chrono::steady_clock::time_point> m_phaseDeadline;
};

}  // namespace utils
