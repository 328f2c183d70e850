// Measures the HTML post-processing of a generated 20 MB page with 200,000 replaceable items
// (rule markers with and without argument, <HR>, BORDER="1", $>$ and ALT texts) against reading
// and writing the same file in the same run. The post-processing must stay within 10 times that
// reference, which no pass that is quadratic in the page could do. A second page holds 200,000
// argument markers whose closings are missing.
//
// Usage: postprocess_bench [Google Benchmark options]

#include "docsystem/html_postprocessing.h"
#include "docsystem/postprocess_table.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr std::size_t PageSize = 20'000'000;
constexpr int ItemCount = 200'000;
constexpr double RatioLimit = 10.0;

const std::vector<std::string> MixedItems = {
    "888888890001.a <B>key</B>.99999999",
    "888888870002.",
    "<HR>\n",
    "<TABLE BORDER=\"1\">",
    "$x$ $>$ $y$",
    "<IMG SRC=\"img1.png\" ALT=\"$\\alpha$\">",
};
const std::vector<std::string> UnclosedMarkers = {"888888890001.a <B>key</B>"};

std::string GeneratePage(const std::vector<std::string>& items)
{
    const std::string filler = "Text of the converted document, with words and punctuation. ";
    std::string page = "<HTML>\n<HEAD>\n<TITLE>bench</TITLE>\n</HEAD>\n<BODY>\n";
    page.reserve(PageSize + 1024);
    const std::size_t spacing = PageSize / ItemCount;
    for (int item = 0; item < ItemCount; ++item) {
        const std::size_t end = page.size() + spacing;
        page += items[static_cast<std::size_t>(item) % items.size()];
        while (page.size() < end)
            page.append(filler, 0, std::min(filler.size(), end - page.size()));
    }
    page += "<HR>\n\n</BODY>\n</HTML>\n";
    return page;
}

void WriteFile(const std::string& path, const std::string& content)
{
    std::ofstream file(path, std::ios::binary);
    file.write(content.data(), static_cast<std::streamsize>(content.size()));
    if (!file)
        throw std::runtime_error("cannot write " + path);
}

std::string ReadFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

class BenchDirectory {
public:
    BenchDirectory()
        : path(std::filesystem::temp_directory_path() / ("quillwright-postprocess-bench-" + std::to_string(::getpid())))
    {
        std::filesystem::create_directories(path);
    }
    ~BenchDirectory() { std::filesystem::remove_all(path); }
    std::string File(const std::string& name) const { return (path / name).string(); }

private:
    std::filesystem::path path;
};

double Seconds(std::chrono::steady_clock::duration duration)
{
    return std::chrono::duration<double>(duration).count();
}

void MeasureAgainstReadAndWrite(benchmark::State& state, const std::vector<std::string>& items)
{
    const BenchDirectory directory;
    WriteFile(directory.File("postprocess.txt"), "hint|<div class=\"hint\">|</div>\ntm|<sup>TM</sup>\n");
    if (!LoadPostProcessTable(directory.File("postprocess.txt")))
        throw std::runtime_error("cannot load the rules");
    const std::string page = GeneratePage(items);
    const std::string pagePath = directory.File("index.html");
    DocumentationJob job;
    job.settings.footer = "<ADDRESS>bench</ADDRESS>";

    double referenceSeconds = 0;
    double processingSeconds = 0;
    std::size_t resultSize = 0;
    for (auto _ : state) {
        WriteFile(pagePath, page);
        const auto referenceStart = std::chrono::steady_clock::now();
        WriteFile(pagePath, ReadFile(pagePath));
        referenceSeconds += Seconds(std::chrono::steady_clock::now() - referenceStart);

        std::vector<std::string> images;
        const auto processingStart = std::chrono::steady_clock::now();
        PostProcessHtmlPage(job, pagePath, images, "paper");
        const double seconds = Seconds(std::chrono::steady_clock::now() - processingStart);
        processingSeconds += seconds;
        state.SetIterationTime(seconds);
        resultSize = std::filesystem::file_size(pagePath);
    }
    const double ratio = processingSeconds / referenceSeconds;
    state.counters["reference_ms"] = 1000 * referenceSeconds / static_cast<double>(state.iterations());
    state.counters["ratio"] = ratio;
    state.counters["result_MB"] = static_cast<double>(resultSize) / 1e6;
    std::printf("post-processing / (read + write) = %.2f (limit %.0f): %s\n", ratio, RatioLimit,
                ratio <= RatioLimit ? "within" : "OVER THE LIMIT");
}

void PostProcessTwentyMegabytePage(benchmark::State& state)
{
    MeasureAgainstReadAndWrite(state, MixedItems);
}

void PostProcessPageWithUnclosedMarkers(benchmark::State& state)
{
    MeasureAgainstReadAndWrite(state, UnclosedMarkers);
}

}  // namespace

BENCHMARK(PostProcessTwentyMegabytePage)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5);
BENCHMARK(PostProcessPageWithUnclosedMarkers)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);

BENCHMARK_MAIN();
