// Measures the editor's LaTeX view on the Qt backend (offscreen unless QT_QPA_PLATFORM says
// otherwise) with the generated 100 MB file of buffer_bench, each figure against a reference drawn
// or loaded in the same run, subject and reference taking turns:
// - a key message to the repainted line (typing in the middle of the file, Enter with automatic
//   indentation, Backspace joining two lines) against drawing that one line's text with QPainter
//   into a pixmap;
// - Page Down to the repainted screen against drawing the same visible lines in the same colours;
// - opening the file to the first painted screen against LoadFile alone.
//
// Usage: view_bench [--directory=DIR] [Google Benchmark options]

#include "buffer/quill_text_buffer.h"
#include "documents/latex_doc.h"
#include "documents/latex_view.h"
#include "directory_option.h"
#include "latex_bench_text.h"
#include "platform/command_ids.h"
#include "platform/frame_wnd.h"
#include "platform/input.h"
#include "platform/qt/qt_backend.h"
#include "platform/qt/qt_font.h"
#include "platform/qt/qt_frame_window.h"
#include "platform/qt/qt_painted_window.h"
#include "platform/virtual_keys.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QMainWindow>
#include <QPainter>
#include <QPixmap>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr std::size_t TargetFileSize = 100000000;
constexpr int KeySamples = 400;
constexpr int PageSamples = 200;
constexpr int OpenSamples = 5;
constexpr int WindowWidth = 1000;
constexpr int WindowHeight = 700;

std::string& SourcePath()
{
    static std::string path;
    return path;
}

double Percentile(std::vector<double> values, double fraction)
{
    std::sort(values.begin(), values.end());
    const auto index = static_cast<std::size_t>(fraction * static_cast<double>(values.size() - 1) + 0.5);
    return values[index];
}

double ThreadMicroseconds()
{
    timespec now{};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e6 + static_cast<double>(now.tv_nsec) / 1e3;
}

// The processor time of this thread, the user-interface thread, during the call: on a shared
// machine the wall-clock time of a call of milliseconds includes other programs' turns, and that of
// a call of microseconds mostly does not, which would make the ratios meaningless.
template <typename Call>
double MicrosecondsOf(Call call)
{
    const double start = ThreadMicroseconds();
    call();
    return ThreadMicroseconds() - start;
}

// Samples of a subject and of its reference, taken in turns.
struct Samples {
    std::vector<double> subject;
    std::vector<double> reference;

    void Report(benchmark::State& state) const
    {
        const double subjectMedian = Percentile(subject, 0.5);
        const double subjectP99 = Percentile(subject, 0.99);
        const double referenceMedian = Percentile(reference, 0.5);
        const double referenceP99 = Percentile(reference, 0.99);
        state.counters["median_us"] = subjectMedian;
        state.counters["p99_us"] = subjectP99;
        state.counters["reference_median_us"] = referenceMedian;
        state.counters["reference_p99_us"] = referenceP99;
        state.counters["median_ratio"] = subjectMedian / referenceMedian;
        state.counters["p99_ratio"] = subjectP99 / referenceP99;
    }
};

// The editor's frame with a LaTeX view of the document, as the program shows it.
class Editor {
public:
    Editor()
    {
        CCreateContext context{RuntimeClassOf<CLatexView, CView>(), &m_document};
        if (!m_frame.LoadFrame(1, &context))
            throw std::runtime_error("cannot create the frame");
        m_frame.InitialUpdateFrame(&m_document, CFrameWnd::Visibility::Show);
        static_cast<platform::qt::QtFrameWindow*>(m_frame.FramePeer())->MainWindow()->resize(WindowWidth, WindowHeight);
        View().SetFocus();
        QApplication::processEvents();
    }

    CLatexView& View() { return dynamic_cast<CLatexView&>(*m_frame.GetActiveView()); }
    CLatexDoc& Document() { return m_document; }
    QWidget& Viewport()
    {
        auto* peer = dynamic_cast<platform::qt::QtPaintedWindow*>(View().Peer());
        return *static_cast<QAbstractScrollArea*>(peer->Widget())->viewport();
    }

    // The key's messages, then the paint of what they invalidated.
    void Press(UINT key, char32_t character = 0)
    {
        const std::u32string text(character == 0 ? 0 : 1, character);
        platform::input::DeliverKeyPress(View(), key, text);
        View().UpdateWindow();
    }

    void Open(const std::string& path)
    {
        if (!m_document.OnOpenDocument(path))
            throw std::runtime_error("cannot open " + path);
        Viewport().repaint();
    }

    void PlaceCaret(TextPosition position)
    {
        View().SetCaretPos(position);
        View().SelectRange(position, position);
        View().BringIntoView(position);
        View().UpdateWindow();
        Settle();
    }

    // What the program does between two keys: the event loop handles what is waiting (the scroll
    // bars follow the last step) and paints what that asked for, so no key pays for the one before.
    static void Settle()
    {
        QApplication::processEvents();
        QApplication::sendPostedEvents();
    }

    // A line in the middle of the text that starts with blanks, for Enter's indentation.
    int IndentedLineNear(int line)
    {
        const CQuillTextBuffer& buffer = m_document.Buffer();
        while (line < buffer.LineCount() - 1 && (buffer.LineLength(line) == 0 || buffer.LineChars(line)[0] != ' '))
            ++line;
        return line;
    }

private:
    CLatexDoc m_document;
    CFrameWnd m_frame;
};

// The editor with the file open, made on first use and gone before the window system.
std::unique_ptr<Editor>& EditorSlot()
{
    static std::unique_ptr<Editor> editor;
    return editor;
}

Editor& TheEditor()
{
    std::unique_ptr<Editor>& editor = EditorSlot();
    if (editor == nullptr) {
        editor = std::make_unique<Editor>();
        editor->Open(SourcePath());
    }
    return *editor;
}

// Draws runs of text into a pixmap the size of the view's client area, as a plain program would.
class ReferencePainter {
public:
    struct Run {
        QString text;
        QColor colour;
        int x = 0;
        int y = 0;
    };

    explicit ReferencePainter(Editor& editor)
        : m_pixmap(editor.Viewport().size()), m_font(editor.View().ViewLogFont()),
          m_background(QColor(255, 255, 255))
    {
    }

    // The runs of the line's visible part, coloured as the view colours them; taken before the
    // clock starts.
    std::vector<Run> RunsOf(CLatexView& view, int line, int band)
    {
        std::vector<ColourSpan> spans;
        view.ScanLine(view.LineEndState(line - 1), line, &spans);
        const std::string text = view.ExpandTabs(line, 0, view.LineLength(line));
        std::vector<Run> runs;
        for (std::size_t index = 0; index < spans.size(); ++index) {
            const int start = spans[index].start;
            const int end = index + 1 < spans.size() ? spans[index + 1].start : static_cast<int>(text.size());
            if (start >= end || start >= static_cast<int>(text.size()))
                continue;
            const COLORREF colour = view.SlotColour(spans[index].slot);
            runs.push_back({QString::fromUtf8(text.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(end - start))),
                            QColor(GetRValue(colour), GetGValue(colour), GetBValue(colour)),
                            view.MarginWidth() + start * view.CharWidth(), band * view.LineHeight()});
        }
        if (runs.empty())
            runs.push_back({QString::fromUtf8(text), QColor(0, 0, 0), view.MarginWidth(), band * view.LineHeight()});
        return runs;
    }

    void Draw(const std::vector<Run>& runs, int lineHeight)
    {
        QPainter painter(&m_pixmap);
        painter.setFont(m_font.Font());
        const int ascent = painter.fontMetrics().ascent();
        for (const Run& run : runs) {
            painter.fillRect(run.x, run.y, painter.fontMetrics().horizontalAdvance(run.text), lineHeight, m_background);
            painter.setPen(run.colour);
            painter.drawText(run.x, run.y + ascent, run.text);
        }
    }

private:
    QPixmap m_pixmap;
    platform::qt::QtFont m_font;
    QColor m_background;
};

enum class KeyCase { Typing, EnterWithIndent, BackspaceJoin };

void KeyToRepaintedLine(benchmark::State& state, KeyCase keyCase)
{
    Editor& editor = TheEditor();
    CLatexView& view = editor.View();
    const int middle = editor.Document().Buffer().LineCount() / 2;
    Samples samples;
    for (auto _ : state) {
        for (int sample = 0; sample < KeySamples; ++sample) {
            const int line = keyCase == KeyCase::EnterWithIndent ? editor.IndentedLineNear(middle + sample * 7)
                                                                 : middle + sample * 7;
            const int character = keyCase == KeyCase::BackspaceJoin ? 0 : std::min(10, view.LineLength(line));
            editor.PlaceCaret({character, line});
            ReferencePainter reference(editor);
            const int band = line - view.TopLine();
            const auto runs = reference.RunsOf(view, line, band);
            samples.reference.push_back(MicrosecondsOf([&] { reference.Draw(runs, view.LineHeight()); }));
            switch (keyCase) {
            case KeyCase::Typing:
                samples.subject.push_back(MicrosecondsOf([&] { editor.Press('X', U'x'); }));
                break;
            case KeyCase::EnterWithIndent:
                samples.subject.push_back(MicrosecondsOf([&] { editor.Press(VK_RETURN, U'\r'); }));
                break;
            case KeyCase::BackspaceJoin:
                samples.subject.push_back(MicrosecondsOf([&] { editor.Press(VK_BACK); }));
                break;
            }
            // Back to the text as it was, outside the clock.
            while (editor.Document().Buffer().CanUndo())
                view.SendMessage(WM_COMMAND, ID_EDIT_UNDO);
            view.UpdateWindow();
            Editor::Settle();
        }
    }
    samples.Report(state);
}

void TypingInTheMiddle(benchmark::State& state)
{
    KeyToRepaintedLine(state, KeyCase::Typing);
}

void EnterWithAutoIndent(benchmark::State& state)
{
    KeyToRepaintedLine(state, KeyCase::EnterWithIndent);
}

void BackspaceJoiningLines(benchmark::State& state)
{
    KeyToRepaintedLine(state, KeyCase::BackspaceJoin);
}

void PageDownToRepaintedScreen(benchmark::State& state)
{
    Editor& editor = TheEditor();
    CLatexView& view = editor.View();
    editor.PlaceCaret({0, editor.Document().Buffer().LineCount() / 3});
    Samples samples;
    for (auto _ : state) {
        for (int sample = 0; sample < PageSamples; ++sample) {
            samples.subject.push_back(MicrosecondsOf([&] { editor.Press(VK_NEXT); }));
            ReferencePainter reference(editor);
            std::vector<ReferencePainter::Run> runs;
            for (int band = 0; band < view.VisibleLineCount(); ++band) {
                const auto lineRuns = reference.RunsOf(view, view.TopLine() + band, band);
                runs.insert(runs.end(), lineRuns.begin(), lineRuns.end());
            }
            samples.reference.push_back(MicrosecondsOf([&] { reference.Draw(runs, view.LineHeight()); }));
        }
    }
    samples.Report(state);
}

void OpenToFirstPaintedScreen(benchmark::State& state)
{
    Editor& editor = TheEditor();
    Samples samples;
    for (auto _ : state) {
        for (int sample = 0; sample < OpenSamples; ++sample) {
            CQuillTextBuffer buffer;
            samples.reference.push_back(MicrosecondsOf([&] {
                if (!buffer.LoadFile(SourcePath(), LineEndingStyle::Automatic))
                    state.SkipWithError("LoadFile failed");
            }));
            samples.subject.push_back(MicrosecondsOf([&] { editor.Open(SourcePath()); }));
        }
    }
    samples.Report(state);
}

// Prints as usual and keeps the counters for the summary of ratios.
class SummaryReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            for (const auto& [counter, value] : run.counters)
                m_counters[run.run_name.function_name + "/" + counter] = value.value;
        }
    }

    void PrintSummary() const
    {
        std::printf("\nSummary (medians and 99th percentiles of processor microseconds of the user-interface "
                    "thread; ratio = subject / reference)\n");
        Print("TypingInTheMiddle", "key to repainted line, typing", "p99_ratio", 3.0);
        Print("EnterWithAutoIndent", "key to repainted line, Enter with indentation", "p99_ratio", 3.0);
        Print("BackspaceJoiningLines", "key to repainted line, Backspace joining lines", "p99_ratio", 3.0);
        Print("PageDownToRepaintedScreen", "Page Down to repainted screen", "median_ratio", 1.5);
        Print("OpenToFirstPaintedScreen", "open to first painted screen vs LoadFile", "median_ratio", 1.2);
    }

private:
    double Counter(const std::string& key) const
    {
        const auto found = m_counters.find(key);
        return found == m_counters.end() ? 0.0 : found->second;
    }

    void Print(const std::string& name, const char* what, const char* judged, double target) const
    {
        if (m_counters.find(name + "/" + judged) == m_counters.end())
            return;
        const double ratio = Counter(name + "/" + judged);
        std::printf("  %s:\n    subject median %.1f p99 %.1f; reference median %.1f p99 %.1f; "
                    "ratio median %.2f p99 %.2f (target %s <= %.1f) %s\n",
                    what, Counter(name + "/median_us"), Counter(name + "/p99_us"),
                    Counter(name + "/reference_median_us"), Counter(name + "/reference_p99_us"),
                    Counter(name + "/median_ratio"), Counter(name + "/p99_ratio"), judged, target,
                    ratio <= target ? "met" : "NOT MET");
    }

    std::map<std::string, double> m_counters;
};

}  // namespace

BENCHMARK(OpenToFirstPaintedScreen)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
BENCHMARK(TypingInTheMiddle)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
BENCHMARK(EnterWithAutoIndent)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
BENCHMARK(BackspaceJoiningLines)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
BENCHMARK(PageDownToRepaintedScreen)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

int main(int argc, char** argv)
{
    const std::string directory = TakeDirectoryOption(argc, argv);
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    platform::qt::QtBackend backend(argc, argv);
    benchmark::Initialize(&argc, argv);

    SourcePath() = directory + "/quillwright-view-bench.tex";
    {
        std::ofstream file(SourcePath(), std::ios::binary | std::ios::trunc);
        const std::string text = GenerateLatexText(TargetFileSize);
        file.write(text.data(), static_cast<std::streamsize>(text.size()));
        if (!file.flush()) {
            std::fprintf(stderr, "view_bench: cannot write %s\n", SourcePath().c_str());
            return 1;
        }
    }

    SummaryReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintSummary();
    EditorSlot().reset();
    std::filesystem::remove(SourcePath());
    benchmark::Shutdown();
    return 0;
}
