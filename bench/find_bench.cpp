// Measures find and replace in an edit view on the generated 100 MB LaTeX-like file of buffer_bench:
// Find Next to the one match at the end of the file (plain, ignoring case, a regular expression)
// against memmem over the same bytes, and Replace All of 100,000 occurrences and its Undo against
// building the replaced text in a std::string. Every figure is a ratio against its reference
// measured in the same run.
//
// Usage: find_bench [--directory=DIR] [Google Benchmark options]

#include "buffer/quill_text_buffer.h"
#include "directory_option.h"
#include "latex_bench_text.h"
#include "platform/command_ids.h"
#include "platform/doc_template.h"
#include "platform/frame_wnd.h"
#include "platform/headless/dialog_driver.h"
#include "platform/headless/headless_backend.h"
#include "platform/win_app.h"
#include "views/editor_command_ids.h"
#include "views/quill_edit_view.h"
#include "views/search_dialog_templates.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <unistd.h>

namespace {

using namespace search_dialogs;
using platform::headless::DialogDriver;

constexpr std::size_t TargetFileSize = 100000000;
constexpr int ReplacedOccurrences = 100000;
const std::string Needle = "QuillwrightNeedle42";
const std::string FoldedNeedle = "quillwrightneedle42";
const std::string NeedlePattern = "Quillwright[N]eedle\\d+";
const std::string Replaced = "\\emph{undo}";
const std::string Replacement = "\\textit{undo}";

// The text with the needle on the line before its last one, as the view holds it.
struct BenchText {
    std::string path;
    std::string bytes;
    int needleLine = 0;
    // Where the first ReplacedOccurrences occurrences of Replaced end.
    TextPosition replacedBlockEnd;
};

BenchText& Text()
{
    static BenchText text;
    return text;
}

void WriteWhole(const std::string& path, const std::string& bytes)
{
    const int descriptor = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (descriptor < 0 || ::write(descriptor, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()))
        throw std::runtime_error("cannot write " + path + ": " + std::strerror(errno));
    ::close(descriptor);
}

// Checks the option boxes given and clears the others, whatever the dialog remembered.
void CheckExactly(DialogDriver& dialog, std::initializer_list<int> boxes)
{
    for (int box : {WholeWordBox, MatchCaseBox, RegularExpressionBox}) {
        const bool wanted = std::find(boxes.begin(), boxes.end(), box) != boxes.end();
        if (dialog.IsChecked(box) != wanted)
            dialog.Click(box);
    }
}

// An edit view in a frame on the headless backend, showing the loaded file.
class Editor {
public:
    Editor()
    {
        application.SetRegistryKey("TVL");
        CCreateContext context{RuntimeClassOf<CQuillEditView, CView>(), nullptr};
        if (!frame.LoadFrame(1, &context))
            throw std::runtime_error("cannot create the frame");
        frame.InitialUpdateFrame(nullptr, CFrameWnd::Visibility::Show);
        view = dynamic_cast<CQuillEditView*>(frame.GetActiveView());
        backend.Resize(*view, CSize(800, 600));
        if (!buffer.LoadFile(Text().path, LineEndingStyle::Automatic))
            throw std::runtime_error("cannot load " + Text().path + ": " + std::strerror(errno));
        view->BindBuffer(&buffer);
        view->SetFocus();
        // The first screen is painted, so the view's caches exist as they do in the window.
        backend.PaintAll();
    }

    // The Find dialog remembers the search for Find Next.
    void SetSearch(const std::string& text, std::initializer_list<int> boxes)
    {
        backend.ScriptDialog(FindTemplateId, [&text, boxes](DialogDriver& dialog) {
            dialog.SetText(FindTextEdit, text);
            CheckExactly(dialog, boxes);
            dialog.Click(IDCANCEL);
        });
        view->SendMessage(WM_COMMAND, ID_EDIT_FIND);
    }

    void FindNextFromTheTop()
    {
        view->SetCaretPos({0, 0});
        view->SendMessage(WM_COMMAND, ID_EDIT_REPEAT);
        if (!view->HasSelection() || view->CaretPos().line != Text().needleLine)
            throw std::runtime_error("Find Next did not find the needle");
    }

    void ReplaceAllInBlock()
    {
        view->SelectRange({0, 0}, Text().replacedBlockEnd);
        backend.ScriptDialog(ReplaceTemplateId, [](DialogDriver& dialog) {
            dialog.SetText(FindTextEdit, Replaced);
            dialog.SetText(ReplaceTextEdit, Replacement);
            CheckExactly(dialog, {MatchCaseBox});
            dialog.Click(ReplaceAllButton);
            dialog.Click(IDCANCEL);
        });
        view->SendMessage(WM_COMMAND, ID_EDIT_REPLACE);
        if (LastLineOfBlock().find(Replacement) == std::string::npos)
            throw std::runtime_error("Replace All did not replace the last occurrence");
    }

    std::string LastLineOfBlock() const
    {
        const int line = Text().replacedBlockEnd.line;
        return std::string(buffer.LineChars(line), static_cast<std::size_t>(buffer.LineLength(line)));
    }

    void Undo()
    {
        TextPosition caret;
        if (!buffer.Undo(caret))
            throw std::runtime_error("nothing to undo");
        if (LastLineOfBlock().find(Replacement) != std::string::npos)
            throw std::runtime_error("Undo left replacements behind");
    }

    platform::headless::HeadlessBackend backend;
    CWinApp application{"QuillwrightFindBench"};
    CQuillTextBuffer buffer;
    CFrameWnd frame;
    CQuillEditView* view = nullptr;
};

Editor& TheEditor()
{
    static Editor editor;
    return editor;
}

void MemmemToTheNeedle(benchmark::State& state)
{
    const std::string& bytes = Text().bytes;
    for (auto _ : state) {
        const void* found = memmem(bytes.data(), bytes.size(), Needle.data(), Needle.size());
        if (found == nullptr)
            state.SkipWithError("memmem did not find the needle");
        benchmark::DoNotOptimize(found);
    }
}

void FindNextTo(benchmark::State& state, const std::string& text, std::initializer_list<int> boxes)
{
    Editor& editor = TheEditor();
    editor.SetSearch(text, boxes);
    for (auto _ : state)
        editor.FindNextFromTheTop();
}

void FindNextMatchingCase(benchmark::State& state)
{
    FindNextTo(state, Needle, {MatchCaseBox});
}

void FindNextIgnoringCase(benchmark::State& state)
{
    FindNextTo(state, FoldedNeedle, {});
}

void FindNextPattern(benchmark::State& state)
{
    FindNextTo(state, NeedlePattern, {MatchCaseBox, RegularExpressionBox});
}

// Reference for Replace All: the replaced text built anew in a std::string.
void RebuildReplacedText(benchmark::State& state)
{
    const std::string& bytes = Text().bytes;
    for (auto _ : state) {
        std::string result;
        result.reserve(bytes.size() + ReplacedOccurrences * (Replacement.size() - Replaced.size()));
        std::size_t copied = 0;
        for (int count = 0; count < ReplacedOccurrences; ++count) {
            const std::size_t found = bytes.find(Replaced, copied);
            result.append(bytes, copied, found - copied);
            result += Replacement;
            copied = found + Replaced.size();
        }
        result.append(bytes, copied);
        benchmark::DoNotOptimize(result.data());
    }
}

void ReplaceAll(benchmark::State& state)
{
    Editor& editor = TheEditor();
    for (auto _ : state) {
        editor.ReplaceAllInBlock();
        state.PauseTiming();
        editor.Undo();
        state.ResumeTiming();
    }
}

void UndoReplaceAll(benchmark::State& state)
{
    Editor& editor = TheEditor();
    for (auto _ : state) {
        state.PauseTiming();
        editor.ReplaceAllInBlock();
        state.ResumeTiming();
        editor.Undo();
    }
}

// Prints as usual and keeps each benchmark's median time for the summary.
class SummaryReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median")
                m_times[run.run_name.function_name] = run.GetAdjustedRealTime();
        }
    }

    void PrintSummary() const
    {
        std::printf("\nSummary (%.1f MB; medians of the repetitions, time against the reference)\n",
                    static_cast<double>(Text().bytes.size()) / 1e6);
        PrintRatio("FindNextMatchingCase", "MemmemToTheNeedle", 3);
        PrintRatio("FindNextIgnoringCase", "MemmemToTheNeedle", 6);
        PrintRatio("FindNextPattern", "MemmemToTheNeedle", 6);
        PrintRatio("ReplaceAll", "RebuildReplacedText", 10);
        PrintRatio("UndoReplaceAll", "RebuildReplacedText", 10);
    }

private:
    void PrintRatio(const std::string& measured, const std::string& reference, double target) const
    {
        const auto ours = m_times.find(measured);
        const auto theirs = m_times.find(reference);
        if (ours == m_times.end() || theirs == m_times.end())
            return;
        const double ratio = ours->second / theirs->second;
        std::printf("  %-22s %9.1f ms vs %-22s %9.1f ms: ratio %.2f (target <= %.0f) %s\n", measured.c_str(),
                    ours->second, reference.c_str(), theirs->second, ratio, target, ratio <= target ? "met" : "NOT MET");
    }

    std::map<std::string, double> m_times;
};

TextPosition PositionOfOffset(const std::string& bytes, std::size_t offset)
{
    int line = 0;
    std::size_t lineStart = 0;
    for (std::size_t next; (next = bytes.find('\n', lineStart)) != std::string::npos && next < offset;) {
        lineStart = next + 1;
        ++line;
    }
    return {static_cast<int>(offset - lineStart), line};
}

void PrepareText(const std::string& directory)
{
    BenchText& text = Text();
    text.bytes = GenerateLatexText(TargetFileSize);
    // The needle goes on a line of its own before "\end{document}".
    const std::size_t lastLine = text.bytes.rfind('\n', text.bytes.size() - 2) + 1;
    text.bytes.insert(lastLine, "the end: " + Needle + "\n");
    std::size_t position = 0;
    for (int count = 0; count < ReplacedOccurrences; ++count) {
        position = text.bytes.find(Replaced, position);
        if (position == std::string::npos)
            throw std::runtime_error("the text holds too few occurrences to replace");
        position += Replaced.size();
    }
    text.replacedBlockEnd = PositionOfOffset(text.bytes, position);
    text.needleLine = PositionOfOffset(text.bytes, lastLine).line;
    text.path = directory + "/quillwright-find-bench.tex";
    WriteWhole(text.path, text.bytes);
}

}  // namespace

void Repeated(benchmark::internal::Benchmark* benchmark)
{
    benchmark->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1)->Repetitions(5)->ReportAggregatesOnly(true);
}

BENCHMARK(MemmemToTheNeedle)->Apply(Repeated);
BENCHMARK(FindNextMatchingCase)->Apply(Repeated);
BENCHMARK(FindNextIgnoringCase)->Apply(Repeated);
BENCHMARK(FindNextPattern)->Apply(Repeated);
BENCHMARK(RebuildReplacedText)->Apply(Repeated);
BENCHMARK(ReplaceAll)->Apply(Repeated);
BENCHMARK(UndoReplaceAll)->Apply(Repeated);

int main(int argc, char** argv)
{
    const std::string directory = TakeDirectoryOption(argc, argv);
    benchmark::Initialize(&argc, argv);
    PrepareText(directory);

    SummaryReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintSummary();

    std::filesystem::remove(Text().path);
    benchmark::Shutdown();
    return 0;
}
