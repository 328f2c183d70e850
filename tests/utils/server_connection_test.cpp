#include "utils/server_connection.h"

#include "utils/loopback_peer.h"
#include "utils/socket_error.h"
#include "utils/test_scratch_directory.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>
#include <tuple>
#include <vector>

using test_support::LoopbackPeer;
using test_support::ReadExactly;
using test_support::ReadLineFrom;
using test_support::ReadToEnd;
using test_support::WriteText;
using utils::ServerAddress;
using utils::ServerConnection;
using utils::testing::ReadFile;
using utils::testing::ScratchDirectory;
using utils::testing::WriteFile;

namespace {

void ConnectTo(ServerConnection& connection, const LoopbackPeer& peer)
{
    connection.Create(0, utils::SocketType::Stream);
    connection.Connect(ServerAddress(peer.Address()));
}

void RecordProgress(std::uint64_t transferred, void* context)
{
    static_cast<std::vector<std::uint64_t>*>(context)->push_back(transferred);
}

std::string BytesOfLength(std::size_t length)
{
    std::string bytes(length, '\0');
    for (std::size_t index = 0; index < length; ++index)
        bytes[index] = static_cast<char>((index * 7 + index / 251) & 0xFF);
    return bytes;
}

// The message of the socket_error that action throws.
template <typename Action>
std::string SocketErrorOf(Action action)
{
    try {
        action();
    } catch (const tvl_utils::socket_error& error) {
        return error.what();
    }
    return "no socket_error";
}

}  // namespace

TEST(ServerAddressTest, ParsesHostAndPort)
{
    const std::tuple<std::string, std::string, int> cases[] = {
        {"texhost:3000", "texhost", 3000}, {"texhost", "texhost", 0}, {"a:b:c", "a", 0},
        {"h:12ab", "h", 12}, {"h:99999999999999", "h", 2147483647},
    };
    for (const auto& [text, host, port] : cases) {
        const ServerAddress address(text);
        EXPECT_EQ(address.host, host) << text;
        EXPECT_EQ(address.port, port) << text;
    }
}

TEST(ServerConnectionLinesTest, CutsLinesFromOnePacketAndStripsOneCarriageReturn)
{
    // The peer closes right after one packet: a line already buffered must not need another receive.
    LoopbackPeer peer([](int socket) { WriteText(socket, "first\r\nsecond\nmid\rdle\r\r\n\n"); });
    ServerConnection connection;
    ConnectTo(connection, peer);
    EXPECT_EQ(connection.ReadLine(), "first");
    EXPECT_EQ(connection.ReadLine(), "second");
    EXPECT_EQ(connection.ReadLine(), "mid\rdle\r");
    EXPECT_EQ(connection.ReadLine(), "");
    EXPECT_EQ(SocketErrorOf([&] { connection.ReadLine(); }), "Failed to receive data: Connection reset by peer");
}

TEST(ServerConnectionLinesTest, ReadsLinesLongerThanTheReadAheadBuffer)
{
    const std::string longLine(ServerConnection::maximumLineLength, 'x');
    LoopbackPeer peer([&](int socket) { WriteText(socket, longLine + "\nnext\n"); });
    ServerConnection connection;
    ConnectTo(connection, peer);
    EXPECT_EQ(connection.ReadLine(), longLine);
    EXPECT_EQ(connection.ReadLine(), "next");
}

TEST(ServerConnectionLinesTest, SplitsRepliesIntoTrimmedWordAndRest)
{
    LoopbackPeer peer([](int socket) { WriteText(socket, "commit\nfile  x.ps:120 \n\tabort  no  space left \r\nsingle \n"); });
    ServerConnection connection;
    ConnectTo(connection, peer);
    const std::pair<std::string, std::string> expected[] = {
        {"commit", ""}, {"file", "x.ps:120"}, {"abort", "no  space left"}, {"single", ""}};
    for (const auto& [word, rest] : expected) {
        const auto reply = connection.ReadReply();
        EXPECT_EQ(reply.word, word);
        EXPECT_EQ(reply.rest, rest);
    }
}

TEST(ServerConnectionBlocksTest, BlockStartsWithBytesReadAheadByReadLine)
{
    const std::string block = BytesOfLength(20000);
    LoopbackPeer peer([&](int socket) { WriteText(socket, "file a:20000\n" + block + "after\n"); });
    ServerConnection connection;
    ConnectTo(connection, peer);
    EXPECT_EQ(connection.ReadLine(), "file a:20000");
    std::string received(block.size(), '\0');
    std::vector<std::uint64_t> progress;
    connection.ReceiveBlock(received.data(), received.size(), RecordProgress, &progress);
    EXPECT_EQ(received, block);
    ASSERT_FALSE(progress.empty());
    EXPECT_TRUE(std::is_sorted(progress.begin(), progress.end()));
    EXPECT_EQ(progress.back(), block.size());
    EXPECT_EQ(connection.ReadLine(), "after");
}

TEST(ServerConnectionBlocksTest, ReceivesEntirelyBufferedBlocksAndDiscardsWithoutDestination)
{
    LoopbackPeer peer([](int socket) { WriteText(socket, "x\nabcdefgh" + std::string(100000, 'z') + "tail\n"); });
    ServerConnection connection;
    ConnectTo(connection, peer);
    EXPECT_EQ(connection.ReadLine(), "x");
    connection.ReceiveBlock(nullptr, 0, nullptr, nullptr);
    char four[4];
    connection.ReceiveBlock(four, 4, nullptr, nullptr);
    EXPECT_EQ(std::string(four, 4), "abcd");
    connection.ReceiveBlock(nullptr, 4 + 100000, nullptr, nullptr);
    EXPECT_EQ(connection.ReadLine(), "tail");
}

TEST(ServerConnectionBlocksTest, SendBlockReportsRunningTotalAndTheFinalTotalAgain)
{
    const std::string block = BytesOfLength(3 * ServerConnection::chunkSize + 5);
    std::string arrived;
    {
        LoopbackPeer peer([&](int socket) { arrived = ReadToEnd(socket); });
        ServerConnection connection;
        ConnectTo(connection, peer);
        std::vector<std::uint64_t> progress;
        connection.SendBlock(block.data(), block.size(), RecordProgress, &progress);
        ASSERT_GE(progress.size(), 2u);
        EXPECT_EQ(progress[progress.size() - 1], block.size());
        EXPECT_EQ(progress[progress.size() - 2], block.size());
        EXPECT_TRUE(std::is_sorted(progress.begin(), progress.end()));

        std::vector<std::uint64_t> emptyProgress;
        connection.SendBlock("", 0, RecordProgress, &emptyProgress);
        EXPECT_EQ(emptyProgress, std::vector<std::uint64_t>{0});
        connection.SendText("line\n");
        connection.Close();
    }
    EXPECT_EQ(arrived, block + "line\n");
}

TEST(ServerConnectionFilesTest, SendFileSendsTheCountGivenOrTheWholeFile)
{
    ScratchDirectory directory;
    const std::string content = BytesOfLength(2 * ServerConnection::chunkSize + 100);
    WriteFile(directory / "data.bin", content);
    std::string arrived;
    {
        LoopbackPeer peer([&](int socket) { arrived = ReadToEnd(socket); });
        ServerConnection connection;
        ConnectTo(connection, peer);
        std::vector<std::uint64_t> progress;
        connection.SendFile(directory / "data.bin", utils::unknownFileSize, RecordProgress, &progress);
        EXPECT_EQ(progress, (std::vector<std::uint64_t>{8192, 16384, content.size()}));
        connection.SendFile(directory / "data.bin", 10, nullptr, nullptr);
    }
    EXPECT_EQ(arrived, content + content.substr(0, 10));
}

TEST(ServerConnectionFilesTest, SendFileRefusesAMissingOrShrunkFile)
{
    ScratchDirectory directory;
    WriteFile(directory / "short.txt", "abc");
    LoopbackPeer peer([](int socket) { ReadToEnd(socket); });
    ServerConnection connection;
    ConnectTo(connection, peer);
    try {
        connection.SendFile(directory / "missing.txt", utils::unknownFileSize, nullptr, nullptr);
        FAIL() << "a missing file was sent";
    } catch (const std::runtime_error& error) {
        EXPECT_THAT(error.what(), ::testing::StartsWith("failed to open file\n" + (directory / "missing.txt") + "\n"));
    }
    try {
        connection.SendFile(directory / "short.txt", 10, nullptr, nullptr);
        FAIL() << "a file shorter than its announced size was sent";
    } catch (const std::runtime_error& error) {
        EXPECT_THAT(error.what(), ::testing::StartsWith("failed to read file\n" + (directory / "short.txt") + "\n"));
    }
}

TEST(ServerConnectionFilesTest, ReceiveFileWritesExactBytesIncludingReadAhead)
{
    ScratchDirectory directory;
    const std::string content = BytesOfLength(5 * ServerConnection::chunkSize + 3);
    LoopbackPeer peer([&](int socket) { WriteText(socket, "go\n" + content + "next\n"); });
    ServerConnection connection;
    ConnectTo(connection, peer);
    EXPECT_EQ(connection.ReadLine(), "go");
    std::vector<std::uint64_t> progress;
    connection.ReceiveFile(directory / "result.bin", content.size(), RecordProgress, &progress);
    EXPECT_EQ(ReadFile(directory / "result.bin"), content);
    EXPECT_EQ(progress.size(), 6u);
    EXPECT_EQ(progress.back(), content.size());
    connection.ReceiveFile(directory / "empty.bin", 0, nullptr, nullptr);
    EXPECT_TRUE(std::filesystem::exists(directory / "empty.bin"));
    EXPECT_EQ(std::filesystem::file_size(directory / "empty.bin"), 0u);
    EXPECT_EQ(connection.ReadLine(), "next");
}

// Peers that never let a receive finish: the connection gives up with a clear message, holds no
// more than one line's limit in memory, and leaves no file cut short behind.
namespace {

struct HostilePeerCase {
    const char* name;
    LoopbackPeer::Script script;
    const char* firstLine;  // read before the failing receive; null for none
    bool receivesFile;
    const char* message;
};

// Sends bytes until the client hangs up, pausing between them.
LoopbackPeer::Script Sending(std::string first, std::string repeated, std::chrono::milliseconds pause)
{
    return [=](int socket) {
        WriteText(socket, first);
        while (::send(socket, repeated.data(), repeated.size(), MSG_NOSIGNAL) > 0)
            std::this_thread::sleep_for(pause);
    };
}

}  // namespace

TEST(ServerConnectionHostilePeerTest, EndsWithAClearMessageAndNoPartialFile)
{
    using std::chrono::milliseconds;
    const HostilePeerCase cases[] = {
        {"endless line", Sending("", std::string(4096, 'x'), milliseconds(0)), nullptr, false,
         "Failed to receive data: Message too long (the server sent a line longer than 65536 bytes)"},
        {"line trickled byte by byte", Sending("commit\n", "x", milliseconds(50)), "commit", false,
         "Failed to receive data: Connection timed out (the server did not finish within 1 second)"},
        {"file trickled byte by byte", Sending("", "x", milliseconds(50)), nullptr, true,
         "Failed to receive data: Connection timed out (the server did not finish within 1 second)"},
        {"file cut short", [](int socket) { WriteText(socket, std::string(3 * ServerConnection::chunkSize, 'p')); }, nullptr, true,
         "Failed to receive data: Connection reset by peer"},
    };
    for (const HostilePeerCase& hostile : cases) {
        SCOPED_TRACE(hostile.name);
        ScratchDirectory directory;
        const std::string path = directory / "result.ps";
        LoopbackPeer peer(hostile.script);
        ServerConnection connection;
        ConnectTo(connection, peer);
        connection.LimitPhase(std::chrono::milliseconds(1000));
        const auto started = std::chrono::steady_clock::now();
        if (hostile.firstLine != nullptr) {
            EXPECT_EQ(connection.ReadLine(), hostile.firstLine);
        }
        const auto failingReceive = [&] {
            if (hostile.receivesFile)
                connection.ReceiveFile(path, 1u << 30, nullptr, nullptr);
            else
                connection.ReadLine();
        };
        EXPECT_EQ(SocketErrorOf(failingReceive), hostile.message);
        EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(5));
        EXPECT_FALSE(std::filesystem::exists(path));
    }
}

TEST(ServerConnectionHostilePeerTest, APhaseLimitCoversAllReceivesUntilTheNextPhase)
{
    LoopbackPeer peer([](int socket) {
        WriteText(socket, "one\n");
        std::this_thread::sleep_for(std::chrono::milliseconds(600));
        WriteText(socket, "two\n");
        std::this_thread::sleep_for(std::chrono::milliseconds(600));
        WriteText(socket, "three\n");
    });
    ServerConnection connection;
    ConnectTo(connection, peer);
    connection.LimitPhase(std::chrono::milliseconds(1000));
    EXPECT_EQ(connection.ReadLine(), "one");
    EXPECT_EQ(connection.ReadLine(), "two");
    // Each wait alone is short, but the phase as a whole is over.
    EXPECT_EQ(SocketErrorOf([&] { connection.ReadLine(); }),
              "Failed to receive data: Connection timed out (the server did not finish within 1 second)");
}

TEST(ServerConnectionHostilePeerTest, ANewPhaseStartsItsOwnTime)
{
    LoopbackPeer peer([](int socket) {
        WriteText(socket, "one\n");
        std::this_thread::sleep_for(std::chrono::milliseconds(700));
        WriteText(socket, "two\n");
    });
    ServerConnection connection;
    ConnectTo(connection, peer);
    connection.LimitPhase(std::chrono::milliseconds(1000));
    EXPECT_EQ(connection.ReadLine(), "one");
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    connection.LimitPhase(std::chrono::milliseconds(1000));
    EXPECT_EQ(connection.ReadLine(), "two");
}

TEST(ServerConnectionFilesTest, ReceiveFileThatCannotBeCreatedReportsThePath)
{
    LoopbackPeer peer([](int socket) { WriteText(socket, "abc"); });
    ServerConnection connection;
    ConnectTo(connection, peer);
    try {
        connection.ReceiveFile("/nonexistent-directory/out.ps", 3, nullptr, nullptr);
        FAIL() << "no error for an impossible file";
    } catch (const std::runtime_error& error) {
        EXPECT_THAT(error.what(), ::testing::StartsWith("failed to create file\n/nonexistent-directory/out.ps\n"));
    }
}

TEST(ServerConnectionConnectTest, ReportsRefusedUnresolvedAndInvalidAddresses)
{
    // A port that was just released has nobody listening on it.
    std::uint16_t freePort = 0;
    {
        LoopbackPeer peer([](int) {});
        freePort = peer.Port();
        ServerConnection unblock;
        ConnectTo(unblock, peer);
    }
    const auto connectTo = [](const std::string& address) {
        return SocketErrorOf([&] {
            ServerConnection connection;
            connection.Create(0, utils::SocketType::Stream);
            connection.Connect(ServerAddress(address));
        });
    };
    EXPECT_EQ(connectTo("127.0.0.1:" + std::to_string(freePort)), "Failed to connect to remote host: Connection refused");
    EXPECT_EQ(connectTo("no-such-host.invalid:3000"),
              "Failed to connect to remote host: Host not found (no-such-host.invalid)");
    EXPECT_THAT(connectTo("127.0.0.1"), ::testing::StartsWith("Failed to connect to remote host: "));
    EXPECT_EQ(connectTo("127.0.0.1:70000"), "Failed to connect to remote host: Invalid argument");
}

TEST(ServerConnectionConnectTest, ConnectsByHostName)
{
    LoopbackPeer peer([](int socket) { WriteText(socket, "TORVEL server 1\n"); });
    ServerConnection connection;
    connection.Create(0, utils::SocketType::Stream);
    connection.Connect(ServerAddress("localhost:" + std::to_string(peer.Port())));
    EXPECT_EQ(connection.ReadLine(), "TORVEL server 1");
}

TEST(ServerConnectionConnectTest, AConnectLimitEndsTheWaitForAServerThatDoesNotAnswer)
{
    // A listener that never accepts: once its queue is full, further connection requests go
    // unanswered, as they do for a host that has gone away.
    const int listener = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr*>(&address), length), 0);
    ASSERT_EQ(::listen(listener, 0), 0);
    ASSERT_EQ(::getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length), 0);
    const std::string target = "127.0.0.1:" + std::to_string(ntohs(address.sin_port));
    std::vector<int> queued;
    for (int filler = 0; filler < 4; ++filler) {
        queued.push_back(::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0));
        ::connect(queued.back(), reinterpret_cast<sockaddr*>(&address), length);
    }
    const auto start = std::chrono::steady_clock::now();
    const std::string message = SocketErrorOf([&] {
        ServerConnection connection;
        connection.Create(0, utils::SocketType::Stream);
        connection.LimitConnect(std::chrono::milliseconds(300));
        connection.Connect(ServerAddress(target));
    });
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));
    EXPECT_EQ(message, "Failed to connect to remote host: Connection timed out");
    for (int socket : queued)
        ::close(socket);
    ::close(listener);
}
