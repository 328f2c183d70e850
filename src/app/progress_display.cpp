#include "app/progress_display.h"

#include <algorithm>
#include <charconv>
#include <unistd.h>

namespace app {

namespace {

const std::string ofMarker = " of ";
const std::string unitMarker = "kB";
constexpr int barWidth = 30;
constexpr auto redrawInterval = std::chrono::milliseconds(100);

std::optional<std::int64_t> ParseNumber(const std::string& text)
{
    std::int64_t value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end)
        return std::nullopt;
    return value;
}

int Percent(const TransferFigures& figures)
{
    if (figures.total <= 0)
        return 100;
    return static_cast<int>(figures.done * 100 / figures.total);
}

std::string Bar(const TransferFigures& figures)
{
    const int percent = std::clamp(Percent(figures), 0, 100);
    const int filled = percent * barWidth / 100;
    std::string bar(barWidth + 2, '-');
    bar.front() = '[';
    bar.back() = ']';
    bar.replace(1, static_cast<std::size_t>(filled), static_cast<std::size_t>(filled), '#');
    bar.append(" ").append(std::to_string(percent)).append("%");
    return bar;
}

}  // namespace

std::optional<TransferFigures> ParseTransferText(const std::string& text)
{
    const auto colon = text.rfind(": ");
    if (colon == std::string::npos || text.size() < unitMarker.size() || text.compare(text.size() - unitMarker.size(), unitMarker.size(), unitMarker) != 0)
        return std::nullopt;
    const std::string figures = text.substr(colon + 2, text.size() - colon - 2 - unitMarker.size());
    const auto of = figures.find(ofMarker);
    if (of == std::string::npos)
        return std::nullopt;
    const auto done = ParseNumber(figures.substr(0, of));
    const auto total = ParseNumber(figures.substr(of + ofMarker.size()));
    if (!done || !total)
        return std::nullopt;
    return TransferFigures{text.substr(0, colon), *done, *total};
}

ProgressDisplay::ProgressDisplay(std::FILE* stream, DisplayStyle style) : m_stream(stream), m_style(style) {}

DisplayStyle ProgressDisplay::StyleFor(std::FILE* stream)
{
    return isatty(fileno(stream)) ? DisplayStyle::UpdatingLine : DisplayStyle::PlainLines;
}

void ProgressDisplay::Show(const std::string& text)
{
    if (m_style == DisplayStyle::UpdatingLine)
        ShowOnLine(text);
    else
        ShowAsLine(text);
}

void ProgressDisplay::Finish()
{
    if (!m_lineOpen)
        return;
    std::fputc('\n', m_stream);
    std::fflush(m_stream);
    m_lineOpen = false;
}

void ProgressDisplay::ShowOnLine(const std::string& text)
{
    const auto figures = ParseTransferText(text);
    const auto now = std::chrono::steady_clock::now();
    // A transfer reports after every chunk; redrawing that often only slows the terminal down.
    const bool complete = figures && figures->done >= figures->total;
    if (figures && figures->caption == m_lastCaption && !complete && now - m_lastDraw < redrawInterval)
        return;
    m_lastDraw = now;
    m_lastCaption = figures ? figures->caption : std::string();
    const std::string line = figures ? text + " " + Bar(*figures) : text;
    std::fprintf(m_stream, "\r\033[K%s", line.c_str());
    std::fflush(m_stream);
    m_lineOpen = true;
}

void ProgressDisplay::ShowAsLine(const std::string& text)
{
    const auto figures = ParseTransferText(text);
    if (figures) {
        const int quarter = Percent(*figures) / 25;
        if (figures->caption == m_lastCaption && quarter == m_lastQuarter)
            return;
        m_lastCaption = figures->caption;
        m_lastQuarter = quarter;
    } else {
        m_lastCaption.clear();
        m_lastQuarter = -1;
    }
    std::fprintf(m_stream, "%s\n", text.c_str());
    std::fflush(m_stream);
}

}  // namespace app
