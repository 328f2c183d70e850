// Download of a large result through ServerConnection::ReceiveFile, measured against a plain recv
// loop that writes the same peer's bytes into a file. Both run in the same process, interleaved, so
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
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
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

void CheckSize(benchmark::State& state, const std::filesystem::path& path)
{
    if (std::filesystem::file_size(path) != kResultSize)
        state.SkipWithError("the file does not hold every byte");
    std::filesystem::remove(path);
}

void BM_ReceiveFile(benchmark::State& state)
{
    const std::filesystem::path path = Scratch() / "received.bin";
    for (auto _ : state) {
        SendingPeer peer;
        utils::ServerConnection connection;
        connection.Create(0, utils::SocketType::Stream);
        connection.Connect(utils::ServerAddress("127.0.0.1:" + std::to_string(peer.Port())));
        connection.ReceiveFile(path.string(), kResultSize, nullptr, nullptr);
        connection.Close();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kResultSize));
    CheckSize(state, path);
}

void BM_PlainRecvLoop(benchmark::State& state)
{
    const std::filesystem::path path = Scratch() / "plain.bin";
    std::vector<char> buffer(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        SendingPeer peer;
        const int socket = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = htons(peer.Port());
        if (::connect(socket, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0)
            state.SkipWithError("cannot connect");
        const int file = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        for (;;) {
            const ssize_t received = ::recv(socket, buffer.data(), buffer.size(), 0);
            if (received <= 0)
                break;
            if (::write(file, buffer.data(), static_cast<std::size_t>(received)) != received)
                state.SkipWithError("cannot write");
        }
        ::close(file);
        ::close(socket);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kResultSize));
    CheckSize(state, path);
}

BENCHMARK(BM_PlainRecvLoop)->Arg(kChunk)->Arg(kLargeChunk)->Iterations(1)->Repetitions(5)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReceiveFile)->Iterations(1)->Repetitions(5)->UseRealTime()->Unit(benchmark::kMillisecond);

// Keeps the times of every run; the median of each benchmark is robust against a run that other work
// on the machine slowed down or that happened to run alone.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Iteration && !run.error_occurred)
                m_times[Key(run.run_name.function_name, run.run_name.args)].push_back(run.GetAdjustedRealTime());
        }
        ConsoleReporter::ReportRuns(runs);
    }

    static std::string Key(const std::string& function, const std::string& arguments)
    {
        return arguments.empty() ? function : function + "/" + arguments;
    }

    double Median(const std::string& key) const
    {
        const auto found = m_times.find(key);
        if (found == m_times.end() || found->second.empty())
            return 0.0;
        std::vector<double> times = found->second;
        std::sort(times.begin(), times.end());
        return times[times.size() / 2];
    }

private:
    std::map<std::string, std::vector<double>> m_times;
};

}  // namespace

int main(int argc, char** argv)
{
    std::vector<char*> arguments(argv, argv + argc);
    std::string interleave = "--benchmark_enable_random_interleaving=true";
    arguments.push_back(interleave.data());
    int count = static_cast<int>(arguments.size());
    benchmark::Initialize(&count, arguments.data());
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    std::filesystem::remove_all(Scratch());

    const double reference = reporter.Median(RatioReporter::Key("BM_PlainRecvLoop", std::to_string(kChunk)));
    const double largeChunks = reporter.Median(RatioReporter::Key("BM_PlainRecvLoop", std::to_string(kLargeChunk)));
    const double subject = reporter.Median("BM_ReceiveFile");
    if (reference <= 0.0 || largeChunks <= 0.0 || subject <= 0.0) {
        std::fprintf(stderr, "receive_file_bench: a measurement is missing\n");
        return 1;
    }
    // Equal byte counts, so a throughput ratio is the inverse ratio of the times.
    const double ratio = reference / subject;
    std::printf("ReceiveFile throughput / plain recv loop (8192-byte chunks) throughput: %.2f (required: at least %.2f) %s\n",
                ratio, kRequiredRatio, ratio >= kRequiredRatio ? "PASS" : "FAIL");
    std::printf("ReceiveFile throughput / plain recv loop (64 KiB chunks) throughput: %.2f\n", largeChunks / subject);
    return ratio >= kRequiredRatio ? 0 : 1;
}
