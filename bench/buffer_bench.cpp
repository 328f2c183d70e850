// Measures the text buffer on a generated 100 MB LaTeX-like file: LoadFile and SaveFile throughput
// against what the machine does with the same bytes (read + memchr, one write call) in the same run,
// the memory a loaded line costs, and the time per call of single-character insertions and their undo.
//
// Usage: buffer_bench [--directory=DIR] [Google Benchmark options]
// The files go to DIR (default: the system's temporary directory) and are removed at the end.

#include "buffer/buffer_view.h"
#include "buffer/quill_text_buffer.h"
#include "buffer/text_change.h"
#include "buffer/undo_action.h"
#include "directory_option.h"
#include "latex_bench_text.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <malloc.h>
#include <map>
#include <random>
#include <stdexcept>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

constexpr std::size_t TargetFileSize = 100000000;
constexpr int EditCount = 10000;
// Undo keeps 1024 groups, so the insertions are undone in rounds that stay below that limit.
constexpr int EditsPerRound = 1000;

struct BenchFiles {
    std::string source;
    std::string saved;
    std::string bytes;
};

BenchFiles& Files()
{
    static BenchFiles files;
    return files;
}

void WriteWhole(const std::string& path, const std::string& bytes)
{
    const int descriptor = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (descriptor < 0 || ::write(descriptor, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size())) {
        throw std::runtime_error("cannot write " + path + ": " + std::strerror(errno));
    }
    ::close(descriptor);
}

void CheckLoaded(benchmark::State& state, bool loaded)
{
    if (!loaded) {
        state.SkipWithError((std::string("LoadFile failed: ") + std::strerror(errno)).c_str());
    }
}

// Reference for loading: read the file and count its line feeds.
void ReadAndCountLineFeeds(benchmark::State& state)
{
    std::vector<char> block(1 << 20);
    std::int64_t lineFeeds = 0;
    for (auto _ : state) {
        const int descriptor = ::open(Files().source.c_str(), O_RDONLY | O_CLOEXEC);
        lineFeeds = 0;
        for (ssize_t count; (count = ::read(descriptor, block.data(), block.size())) > 0;) {
            const char* position = block.data();
            const char* end = block.data() + count;
            while ((position = static_cast<const char*>(std::memchr(position, '\n', static_cast<std::size_t>(end - position))))) {
                ++lineFeeds;
                ++position;
            }
        }
        ::close(descriptor);
        benchmark::DoNotOptimize(lineFeeds);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(Files().bytes.size()));
    state.counters["line_feeds"] = static_cast<double>(lineFeeds);
}

void LoadFile(benchmark::State& state)
{
    CQuillTextBuffer buffer;
    for (auto _ : state) {
        state.PauseTiming();
        buffer.Clear();
        state.ResumeTiming();
        CheckLoaded(state, buffer.LoadFile(Files().source, LineEndingStyle::Automatic));
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(Files().bytes.size()));
    state.counters["lines"] = buffer.LineCount();
}

// Reference for saving: the same bytes with one write call.
void WriteInOneCall(benchmark::State& state)
{
    for (auto _ : state) {
        WriteWhole(Files().saved, Files().bytes);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(Files().bytes.size()));
}

// The same with the flush to disk that SaveFile makes before replacing a file.
void WriteInOneCallAndSync(benchmark::State& state)
{
    for (auto _ : state) {
        const int descriptor = ::open(Files().saved.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        if (::write(descriptor, Files().bytes.data(), Files().bytes.size()) != static_cast<ssize_t>(Files().bytes.size()) ||
            ::fsync(descriptor) != 0) {
            state.SkipWithError((std::string("write failed: ") + std::strerror(errno)).c_str());
        }
        ::close(descriptor);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(Files().bytes.size()));
}

void SaveFile(benchmark::State& state)
{
    CQuillTextBuffer buffer;
    CheckLoaded(state, buffer.LoadFile(Files().source, LineEndingStyle::Automatic));
    for (auto _ : state) {
        if (!buffer.SaveFile(Files().saved, SaveMode::KeepModified)) {
            state.SkipWithError((std::string("SaveFile failed: ") + std::strerror(errno)).c_str());
        }
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(Files().bytes.size()));
}

// Resident memory of the process: heap and directly mapped memory alike.
std::size_t ResidentBytes()
{
    std::FILE* statm = std::fopen("/proc/self/statm", "r");
    unsigned long long totalPages = 0;
    unsigned long long residentPages = 0;
    if (statm == nullptr || std::fscanf(statm, "%llu %llu", &totalPages, &residentPages) != 2) {
        throw std::runtime_error("cannot read /proc/self/statm");
    }
    std::fclose(statm);
    return static_cast<std::size_t>(residentPages) * static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
}

// Memory the loaded buffer holds per line beyond the lines' own character arrays.
void MemoryPerLine(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        ::malloc_trim(0);
        const std::size_t before = ResidentBytes();
        auto buffer = std::make_unique<CQuillTextBuffer>();
        CheckLoaded(state, buffer->LoadFile(Files().source, LineEndingStyle::Automatic));
        const std::size_t after = ResidentBytes();
        std::size_t capacities = 0;
        for (std::int32_t line = 0; line < buffer->LineCount(); ++line) {
            capacities += 16 * (static_cast<std::size_t>(buffer->LineLength(line)) / 16 + 1);
        }
        const double lines = buffer->LineCount();
        state.counters["bytes_per_line"] = static_cast<double>(after - before) / lines;
        state.counters["capacity_per_line"] = static_cast<double>(capacities) / lines;
        state.counters["overhead_per_line"] = static_cast<double>(after - before - capacities) / lines;
        buffer.reset();
        state.ResumeTiming();
    }
}

// A view as the editor has one: it keeps its caret where the text moves.
class CaretView : public BufferView {
public:
    void OnBufferChanged(BufferView*, const TextChange* change, std::uint32_t, std::int32_t) override
    {
        if (change != nullptr) {
            change->AdjustPosition(m_caret);
        }
    }
    void EditNotify(std::int32_t, std::string_view) override {}

private:
    TextPosition m_caret{0, 0};
};

double Percentile(std::vector<double> values, double fraction)
{
    std::sort(values.begin(), values.end());
    const auto index = static_cast<std::size_t>(fraction * static_cast<double>(values.size() - 1) + 0.5);
    return values[index];
}

template <typename Call>
double MicrosecondsOf(Call call)
{
    const auto start = std::chrono::steady_clock::now();
    call();
    return std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count();
}

void InsertAndUndoSingleCharacters(benchmark::State& state)
{
    CQuillTextBuffer buffer;
    CheckLoaded(state, buffer.LoadFile(Files().source, LineEndingStyle::Automatic));
    CaretView view;
    buffer.AttachView(&view);
    std::mt19937 generator(7);
    std::vector<double> insertTimes;
    std::vector<double> undoTimes;
    for (auto _ : state) {
        for (int round = 0; round < EditCount / EditsPerRound; ++round) {
            for (int edit = 0; edit < EditsPerRound; ++edit) {
                const auto line = static_cast<std::int32_t>(generator() % static_cast<unsigned>(buffer.LineCount()));
                const auto character = static_cast<std::int32_t>(generator() % static_cast<unsigned>(buffer.LineLength(line) + 1));
                std::int32_t endLine = 0;
                std::int32_t endChar = 0;
                insertTimes.push_back(MicrosecondsOf([&] {
                    buffer.InsertText(&view, line, character, "x", endLine, endChar, UndoAction::Typing);
                }));
            }
            TextPosition caret;
            while (buffer.CanUndo()) {
                undoTimes.push_back(MicrosecondsOf([&] { buffer.Undo(caret); }));
            }
        }
    }
    buffer.DetachView(&view);
    state.counters["insert_median_us"] = Percentile(insertTimes, 0.5);
    state.counters["insert_p99_us"] = Percentile(insertTimes, 0.99);
    state.counters["undo_median_us"] = Percentile(undoTimes, 0.5);
    state.counters["undo_p99_us"] = Percentile(undoTimes, 0.99);
    state.counters["inserts"] = static_cast<double>(insertTimes.size());
    state.counters["undos"] = static_cast<double>(undoTimes.size());
}

// Prints as usual and keeps each benchmark's time per iteration (the median of its repetitions
// where it has several) and counters for the summary.
class SummaryReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            const bool single = run.run_type == Run::RT_Iteration && run.repetitions <= 1;
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            if (!single && !median) {
                continue;
            }
            const std::string name = run.run_name.function_name;
            m_times[name] = {run.GetAdjustedRealTime(), run.GetAdjustedCPUTime()};
            for (const auto& [counter, value] : run.counters) {
                m_counters[name + "/" + counter] = value.value;
            }
        }
    }

    void PrintSummary() const
    {
        std::printf("\nSummary (%.1f MB, %.0f lines; medians of the repetitions)\n",
                    static_cast<double>(Files().bytes.size()) / 1e6, Counter("LoadFile/lines"));
        PrintRatio("LoadFile", "ReadAndCountLineFeeds");
        PrintRatio("SaveFile", "WriteInOneCall");
        PrintRatio("SaveFile", "WriteInOneCallAndSync");
        const double overhead = Counter("MemoryPerLine/overhead_per_line");
        std::printf("  memory per line: %.1f bytes = %.1f capacity + %.1f other (target: other <= 48) %s\n",
                    Counter("MemoryPerLine/bytes_per_line"), Counter("MemoryPerLine/capacity_per_line"),
                    overhead, overhead <= 48 ? "met" : "NOT MET");
        std::printf("  InsertText, one character, one view: median %.2f us, 99th percentile %.2f us (%.0f calls)\n",
                    Counter("InsertAndUndoSingleCharacters/insert_median_us"),
                    Counter("InsertAndUndoSingleCharacters/insert_p99_us"),
                    Counter("InsertAndUndoSingleCharacters/inserts"));
        std::printf("  Undo of each:                        median %.2f us, 99th percentile %.2f us (%.0f calls)\n",
                    Counter("InsertAndUndoSingleCharacters/undo_median_us"),
                    Counter("InsertAndUndoSingleCharacters/undo_p99_us"),
                    Counter("InsertAndUndoSingleCharacters/undos"));
    }

private:
    struct Times {
        double real = 0;
        double cpu = 0;
    };

    double Counter(const std::string& key) const
    {
        const auto found = m_counters.find(key);
        return found == m_counters.end() ? 0.0 : found->second;
    }

    // Both benchmarks handle the same bytes, so the ratio of throughputs is the inverse ratio of
    // times. Wall-clock time decides the target; processor time is shown because other programs
    // on a shared machine lengthen the wall-clock time of the longer runs more.
    void PrintRatio(const std::string& measured, const std::string& reference) const
    {
        constexpr double Target = 0.25;
        const auto measuredTimes = m_times.find(measured);
        const auto referenceTimes = m_times.find(reference);
        if (measuredTimes == m_times.end() || referenceTimes == m_times.end()) {
            return;
        }
        const double megabytesPerMillisecond = static_cast<double>(Files().bytes.size()) / 1e6 * 1e3;
        const Times& ours = measuredTimes->second;
        const Times& theirs = referenceTimes->second;
        const double ratio = theirs.real / ours.real;
        std::printf("  %s %.0f MB/s vs %s %.0f MB/s: ratio %.2f (target >= %.2f) %s; processor time ratio %.2f\n",
                    measured.c_str(), megabytesPerMillisecond / ours.real, reference.c_str(),
                    megabytesPerMillisecond / theirs.real, ratio, Target, ratio >= Target ? "met" : "NOT MET",
                    theirs.cpu / ours.cpu);
    }

    std::map<std::string, Times> m_times;
    std::map<std::string, double> m_counters;
};

}  // namespace

// Throughput runs: two iterations, seven repetitions, and the median counts.
void Throughput(benchmark::internal::Benchmark* benchmark)
{
    benchmark->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2)->Repetitions(7)->ReportAggregatesOnly(true);
}

BENCHMARK(ReadAndCountLineFeeds)->Apply(Throughput);
BENCHMARK(LoadFile)->Apply(Throughput);
BENCHMARK(WriteInOneCall)->Apply(Throughput);
BENCHMARK(WriteInOneCallAndSync)->Apply(Throughput);
BENCHMARK(SaveFile)->Apply(Throughput);
BENCHMARK(MemoryPerLine)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(InsertAndUndoSingleCharacters)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

int main(int argc, char** argv)
{
    const std::string directory = TakeDirectoryOption(argc, argv);
    benchmark::Initialize(&argc, argv);
    BenchFiles& files = Files();
    files.source = directory + "/quillwright-buffer-bench.tex";
    files.saved = directory + "/quillwright-buffer-bench-saved.tex";
    files.bytes = GenerateLatexText(TargetFileSize);
    WriteWhole(files.source, files.bytes);

    SummaryReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintSummary();

    std::filesystem::remove(files.source);
    std::filesystem::remove(files.saved);
    benchmark::Shutdown();
    return 0;
}
