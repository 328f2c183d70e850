// Download of a large result through ServerConnection::ReceiveFile, measured against a plain recv
// loop that writes the same peer's bytes into a file. Both run in the same process, taking turns, so
// the ratio of their throughputs is what counts on a shared machine: ReceiveFile must keep at least
// 70% of the throughput of the plain loop that receives in the same 8192-byte chunks. The ratio to a
// loop with 64 KiB receives is printed as well, to show what the chunk size itself costs.

#include "utils/server_connection.h"

#include <benchmark/benchmark.h>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr std::uint64_t kResultSize = std::uint64_t{1} << 30;
constexpr std::size_t kPeerBlock = 1 << 20;
constexpr std::int64_t kChunk = 8192;
constexpr std::int64_t kLargeChunk = 64 * 1024;
constexpr double kRequiredRatio = 0.70;

std::filesystem::path ScratchDirectory()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "receive-file-bench-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("cannot create a scratch directory");
    return pattern;
}

const std::filesystem::path& Scratch()
{
    static const std::filesystem::path directory = ScratchDirectory();
    return directory;
}

// A loopback peer that sends kResultSize bytes to the one client that connects, then closes.
class SendingPeer {
public:
    SendingPeer()
    {
        m_listener = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (::bind(m_listener, reinterpret_cast<sockaddr*>(&address), length) != 0 || ::listen(m_listener, 1) != 0
            || ::getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &length) != 0)
            throw std::runtime_error("peer cannot listen");
        m_port = ntohs(address.sin_port);
        m_thread = std::thread([this] { Send(); });
    }
    ~SendingPeer()
    {
        m_thread.join();
        ::close(m_listener);
    }
    SendingPeer(const SendingPeer&) = delete;
    SendingPeer& operator=(const SendingPeer&) = delete;

    std::uint16_t Port() const { return m_port; }

private:
    void Send()
    {
        const int connection = ::accept(m_listener, nullptr, nullptr);
        if (connection < 0)
            return;
        std::vector<char> block(kPeerBlock);
        for (std::size_t index = 0; index < block.size(); ++index)
            block[index] = static_cast<char>(index * 31 + 7);
        std::uint64_t sent = 0;
        while (sent < kResultSize) {
            const std::size_t piece = static_cast<std::size_t>(std::min<std::uint64_t>(kResultSize - sent, block.size()));
            const ssize_t result = ::send(connection, block.data(), piece, MSG_NOSIGNAL);
            if (result <= 0)
                break;
            sent += static_cast<std::uint64_t>(result);
        }
        ::close(connection);
    }

    int m_listener = -1;
    std::uint16_t m_port = 0;
    std::thread m_thread;
};

void CheckSize(const std::filesystem::path& path)
{
    if (std::filesystem::file_size(path) != kResultSize)
        throw std::runtime_error("the file does not hold every byte");
    std::filesystem::remove(path);
}

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

double ReceiveWithServerConnection(const std::filesystem::path& path)
{
    SendingPeer peer;
    const auto start = Clock::now();
    utils::ServerConnection connection;
    connection.Create(0, utils::SocketType::Stream);
    connection.Connect(utils::ServerAddress("127.0.0.1:" + std::to_string(peer.Port())));
    connection.ReceiveFile(path.string(), kResultSize, nullptr, nullptr);
    connection.Close();
    const double seconds = SecondsSince(start);
    CheckSize(path);
    return seconds;
}

double ReceiveWithPlainLoop(const std::filesystem::path& path, std::size_t chunk)
{
    SendingPeer peer;
    std::vector<char> buffer(chunk);
    const auto start = Clock::now();
    const int socket = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(peer.Port());
    if (::connect(socket, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0)
        throw std::runtime_error("cannot connect");
    const int file = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    for (;;) {
        const ssize_t received = ::recv(socket, buffer.data(), buffer.size(), 0);
        if (received <= 0)
            break;
        if (::write(file, buffer.data(), static_cast<std::size_t>(received)) != received)
            throw std::runtime_error("cannot write");
    }
    ::close(file);
    ::close(socket);
    const double seconds = SecondsSince(start);
    CheckSize(path);
    return seconds;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

struct Ratios {
    double againstChunkLoop = 0.0;
    double againstLargeChunkLoop = 0.0;
};
Ratios measured;

// The subject and its references take turns within each round, so a phase in which the machine (or
// the page cache of the virtual machine) is slow hits all of them alike; the medians of the rounds
// are compared.
void BM_ReceiveFileAgainstPlainLoops(benchmark::State& state)
{
    constexpr int kRounds = 9;
    const std::filesystem::path path = Scratch() / "received.bin";
    for (auto _ : state) {
        std::vector<double> subject, chunkLoop, largeChunkLoop;
        for (int round = 0; round < kRounds; ++round) {
            // Each takes every place in the order in turn: a run right after a 1 GB file was freed
            // can be slower for reasons of the machine alone.
            for (int turn = 0; turn < 3; ++turn) {
                switch ((round + turn) % 3) {
                case 0: chunkLoop.push_back(ReceiveWithPlainLoop(path, kChunk)); break;
                case 1: subject.push_back(ReceiveWithServerConnection(path)); break;
                default: largeChunkLoop.push_back(ReceiveWithPlainLoop(path, kLargeChunk)); break;
                }
            }
        }
        const double subjectMedian = Median(subject);
        // Equal byte counts, so a throughput ratio is the inverse ratio of the times.
        measured.againstChunkLoop = Median(chunkLoop) / subjectMedian;
        measured.againstLargeChunkLoop = Median(largeChunkLoop) / subjectMedian;
        state.SetIterationTime(subjectMedian);
        state.counters["ReceiveFile_MBps"] = static_cast<double>(kResultSize) / subjectMedian / 1e6;
        state.counters["recv8K_MBps"] = static_cast<double>(kResultSize) / Median(chunkLoop) / 1e6;
        state.counters["recv64K_MBps"] = static_cast<double>(kResultSize) / Median(largeChunkLoop) / 1e6;
    }
}

BENCHMARK(BM_ReceiveFileAgainstPlainLoops)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::remove_all(Scratch());
    if (measured.againstChunkLoop <= 0.0) {
        std::fprintf(stderr, "receive_file_bench: no measurement was made\n");
        return 1;
    }
    const bool met = measured.againstChunkLoop >= kRequiredRatio;
    std::printf("ReceiveFile throughput / plain recv loop (8192-byte chunks) throughput: %.2f (required: at least %.2f) %s\n",
                measured.againstChunkLoop, kRequiredRatio, met ? "PASS" : "FAIL");
    std::printf("ReceiveFile throughput / plain recv loop (64 KiB chunks) throughput: %.2f\n", measured.againstLargeChunkLoop);
    return met ? 0 : 1;
}
