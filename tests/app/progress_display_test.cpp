#include "app/progress_display.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

using namespace app;

namespace {

// Everything a display wrote, through a memory stream.
class CapturedStream {
public:
    CapturedStream() : m_stream(open_memstream(&m_buffer, &m_size)) {}
    ~CapturedStream()
    {
        std::fclose(m_stream);
        std::free(m_buffer);
    }
    std::FILE* Stream() const { return m_stream; }
    std::string Text()
    {
        std::fflush(m_stream);
        return std::string(m_buffer, m_size);
    }

private:
    char* m_buffer = nullptr;
    std::size_t m_size = 0;
    std::FILE* m_stream;
};

}  // namespace

TEST(TransferTextTest, ReadsCaptionAndFigures)
{
    const auto figures = ParseTransferText("Sending files: 12 of 340kB");
    ASSERT_TRUE(figures);
    EXPECT_EQ(figures->caption, "Sending files");
    EXPECT_EQ(figures->done, 12);
    EXPECT_EQ(figures->total, 340);
    EXPECT_FALSE(ParseTransferText("Connecting..."));
    EXPECT_FALSE(ParseTransferText("Sending files"));
    EXPECT_FALSE(ParseTransferText("Note: x of ykB"));
}

TEST(ProgressDisplayTest, PlainLinesShowStepsAndOnlyQuarterMarksOfTransfers)
{
    CapturedStream captured;
    ProgressDisplay display(captured.Stream(), DisplayStyle::PlainLines);
    display.Show("Connecting...");
    for (int done = 0; done <= 100; done += 5)
        display.Show("Sending files: " + std::to_string(done) + " of 100kB");
    display.Show("Waiting for reply...");
    display.Show("Receiving files: 0 of 0kB");
    display.Finish();
    EXPECT_EQ(captured.Text(), "Connecting...\n"
                               "Sending files: 0 of 100kB\n"
                               "Sending files: 25 of 100kB\n"
                               "Sending files: 50 of 100kB\n"
                               "Sending files: 75 of 100kB\n"
                               "Sending files: 100 of 100kB\n"
                               "Waiting for reply...\n"
                               "Receiving files: 0 of 0kB\n");
}

TEST(ProgressDisplayTest, UpdatingLineRewritesOneLineWithABar)
{
    CapturedStream captured;
    ProgressDisplay display(captured.Stream(), DisplayStyle::UpdatingLine);
    display.Show("Connecting...");
    display.Show("Sending files: 50 of 100kB");
    display.Show("Sending files: 51 of 100kB");  // too soon after the previous one: skipped
    display.Show("Sending files: 100 of 100kB");  // complete: always drawn
    display.Finish();
    EXPECT_EQ(captured.Text(), "\r\033[KConnecting..."
                               "\r\033[KSending files: 50 of 100kB [###############---------------] 50%"
                               "\r\033[KSending files: 100 of 100kB [##############################] 100%\n");
}
