#pragma once

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>

namespace app {

// Where a transfer text ("Sending files: 12 of 340kB") stands.
struct TransferFigures {
    std::string caption;
    std::int64_t done = 0;
    std::int64_t total = 0;
};

std::optional<TransferFigures> ParseTransferText(const std::string& text);

enum class DisplayStyle {
    UpdatingLine,  // a terminal: one line rewritten in place, with a bar during transfers
    PlainLines,    // a pipe or file: one line per step, transfers only at quarter marks
};

// Shows the progress texts of a job on a stream.
class ProgressDisplay {
public:
    ProgressDisplay(std::FILE* stream, DisplayStyle style);

    // The style that suits the stream: an updating line on a terminal, plain lines otherwise.
    static DisplayStyle StyleFor(std::FILE* stream);

    void Show(const std::string& text);
    // Ends an updating line so that what follows starts on a line of its own.
    void Finish();

private:
    void ShowOnLine(const std::string& text);
    void ShowAsLine(const std::string& text);

    std::FILE* m_stream;
    DisplayStyle m_style;
    bool m_lineOpen = false;
    std::string m_lastCaption;
    int m_lastQuarter = -1;
    std::chrono::steady_clock::time_point m_lastDraw;
};

}  // namespace app
