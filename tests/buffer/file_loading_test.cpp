#include "buffer_test_support.h"

#include "buffer/update_hint.h"
#include "utils/non_regular_files.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <random>

namespace {

using buffer_test::Lines;
using buffer_test::ReadBytes;
using buffer_test::RecordingView;
using buffer_test::WriteBytes;
using testing::ElementsAre;
using namespace std::string_literals;

class FileLoadingTest : public testing::Test {
protected:
    // Loads bytes written to a file; the test fails if the load does.
    void Load(const std::string& bytes, LineEndingStyle style = LineEndingStyle::Automatic)
    {
        WriteBytes(path, bytes);
        ASSERT_TRUE(buffer.LoadFile(path, style)) << std::strerror(errno);
    }

    // Saves the buffer over its file again and returns what landed there.
    std::string SavedAgain()
    {
        EXPECT_TRUE(buffer.SaveFile(path, SaveMode::ClearModified)) << std::strerror(errno);
        return ReadBytes(path);
    }

    buffer_test::TemporaryDirectory directory;
    std::string path = directory.File("text.tex");
    CQuillTextBuffer buffer;
};

struct LoadCase {
    const char* what;
    std::string bytes;
    LineEndingStyle given;
    LineEndingStyle style;
    std::vector<std::string> lines;
};

// Every case is also saved back over its file and must come back byte for byte.
TEST_F(FileLoadingTest, TheFirstLineEndFixesTheStyleAndOtherBytesStayInTheirLines)
{
    constexpr LineEndingStyle automatic = LineEndingStyle::Automatic;
    const std::string longLine(40000, 'x');
    // The carriage return is the last byte of the first block, the line feed the first of the next.
    const std::string acrossBlocks = "head\r\n" + std::string(32767 - 6, 'a') + "\r\n" + "tail";
    ASSERT_EQ(acrossBlocks[32767], '\r');
    const LoadCase cases[] = {
        {"an empty file is one empty line in the native style", "", automatic, LineEndingStyle::Lf, {""}},
        {"a last line without line end", "just one line", automatic, LineEndingStyle::Lf, {"just one line"}},
        {"a closing line end gives an empty last line", "two\nlines\n", automatic, LineEndingStyle::Lf, {"two", "lines", ""}},
        {"CR LF first", "first\r\nsecond\nthird\r\n", automatic, LineEndingStyle::CrLf, {"first", "second\nthird", ""}},
        {"LF first", "first\nsecond\r\nthird", automatic, LineEndingStyle::Lf, {"first", "second\r", "third"}},
        {"LF CR first", "first\n\rsecond\n\rthird\nfourth", automatic, LineEndingStyle::LfCr, {"first", "second", "third\nfourth"}},
        {"carriage returns alone end no line", "one\rtwo\rthree\r", automatic, LineEndingStyle::Lf, {"one\rtwo\rthree\r"}},
        {"a broken match stays in the line", "a\r\nb\r\r\nc\r\r\r\nd", automatic, LineEndingStyle::CrLf, {"a", "b\r\r\nc\r\r", "d"}},
        {"a given style overrides detection", "a\nb\r\nc", LineEndingStyle::CrLf, LineEndingStyle::CrLf, {"a\nb", "c"}},
        {"NUL bytes are kept", "before\0after\r\n\0\r\nend\0"s, automatic, LineEndingStyle::CrLf, {"before\0after"s, "\0"s, "end\0"s}},
        {"only the first 32768 bytes decide", longLine + "\r\nsecond\r\nthird", automatic, LineEndingStyle::Lf,
         {longLine + "\r", "second\r", "third"}},
        {"a line end across the block boundary", acrossBlocks, automatic, LineEndingStyle::CrLf,
         {"head", std::string(32761, 'a'), "tail"}},
    };
    for (const LoadCase& testCase : cases) {
        SCOPED_TRACE(testCase.what);
        Load(testCase.bytes, testCase.given);
        EXPECT_EQ(buffer.GetLineEndingStyle(), testCase.style);
        EXPECT_EQ(Lines(buffer), testCase.lines);
        EXPECT_EQ(SavedAgain(), testCase.bytes);
    }
}

TEST_F(FileLoadingTest, ALoadReplacesTheTextAndTellsTheViews)
{
    Load("old\ntext");
    std::int32_t endLine = 0;
    std::int32_t endChar = 0;
    buffer.InsertText(nullptr, 0, 0, "edit", endLine, endChar, 4);
    RecordingView view;
    buffer.AttachView(&view);
    Load("new\r\ntext");
    EXPECT_THAT(Lines(buffer), ElementsAre("new", "text"));
    EXPECT_TRUE(buffer.IsInitialised());
    EXPECT_FALSE(buffer.IsModified());
    EXPECT_FALSE(buffer.CanUndo());
    EXPECT_FALSE(buffer.CanRedo());
    ASSERT_EQ(view.notifications.size(), 1u);
    EXPECT_EQ(view.notifications[0].hints, UpdateHint::ContentReset);
    EXPECT_EQ(view.notifications[0].line, -1);
}

TEST_F(FileLoadingTest, AMissingFileFailsWithTheSystemReason)
{
    RecordingView view;
    buffer.AttachView(&view);
    errno = 0;
    EXPECT_FALSE(buffer.LoadFile(directory.File("missing.tex"), LineEndingStyle::Automatic));
    EXPECT_EQ(errno, ENOENT);
    EXPECT_FALSE(buffer.IsInitialised());
    EXPECT_EQ(buffer.LineCount(), 0);
    EXPECT_TRUE(view.notifications.empty());
}

TEST_F(FileLoadingTest, OnlyRegularFilesAreRead)
{
    // A named pipe would wait for a writer, /dev/zero never ends.
    const utils::testing::SpecialFiles specialFiles(directory.Path().string());
    for (const utils::testing::SpecialFile& file : specialFiles.All()) {
        SCOPED_TRACE(file.kind);
        errno = 0;
        EXPECT_FALSE(buffer.LoadFile(file.path, LineEndingStyle::Automatic));
        EXPECT_EQ(errno, file.kind == "a directory" ? EISDIR : EINVAL);
        EXPECT_FALSE(buffer.IsInitialised());
    }
    EXPECT_FALSE(specialFiles.PipeReaderWasReleased());
}

TEST_F(FileLoadingTest, AFileWithoutOwnerWritePermissionLoadsReadOnly)
{
    Load("text");
    EXPECT_FALSE(buffer.IsReadOnly());
    std::filesystem::permissions(path, std::filesystem::perms::owner_write, std::filesystem::perm_options::remove);
    ASSERT_TRUE(buffer.LoadFile(path, LineEndingStyle::Automatic));
    EXPECT_TRUE(buffer.IsReadOnly());
    buffer.CreateEmpty(LineEndingStyle::Lf);
    EXPECT_FALSE(buffer.IsReadOnly());
}

TEST_F(FileLoadingTest, RandomFilesWithMixedLineEndsRoundTripByteForByte)
{
    std::mt19937 generator(61206);
    const std::string alphabet = "\r\n\r\n\0\tabcdefgh   \\{}"s;
    for (int round = 0; round < 40; ++round) {
        std::string bytes(generator() % 100000, ' ');
        for (char& byte : bytes) {
            byte = alphabet[generator() % alphabet.size()];
        }
        Load(bytes);
        ASSERT_EQ(SavedAgain(), bytes) << "round " << round;
    }
}

TEST_F(FileLoadingTest, TheEncodingIsDecidedFromTheBytesAndNeverChangesThem)
{
    struct Case {
        std::string bytes;
        TextEncoding encoding;
    };
    const std::vector<Case> cases{
        {"\\section{Intro}\n", TextEncoding::Utf8},
        {"P\xC5\x99\xC3\xAD" "li\xC5\xA1\n\xC5\xBElu\xC5\xA5ou\xC4\x8Dk\xC3\xBD \xFF\n", TextEncoding::Utf8},
        {"P\xF8\xEDli\x9A\n\x9Elu\x9Dou\xE8k\xFD\n", TextEncoding::Legacy},
    };
    for (const Case& testCase : cases) {
        Load(testCase.bytes);
        EXPECT_EQ(buffer.Encoding(), testCase.encoding) << testCase.bytes;
        EXPECT_EQ(SavedAgain(), testCase.bytes);
    }
    buffer.CreateEmpty(LineEndingStyle::Lf);
    EXPECT_EQ(buffer.Encoding(), TextEncoding::Utf8);
}

TEST_F(FileLoadingTest, ChangingTheEncodingTellsTheViewsThatEveryLineMayLookDifferent)
{
    Load("caf\xE9\n");
    ASSERT_EQ(buffer.Encoding(), TextEncoding::Legacy);
    RecordingView view;
    buffer.AttachView(&view);
    buffer.SetEncoding(TextEncoding::Utf8);
    buffer.SetEncoding(TextEncoding::Utf8);
    ASSERT_EQ(view.notifications.size(), 1U);
    EXPECT_EQ(view.notifications[0].hints, UpdateHint::LineWidthChanged);
    EXPECT_EQ(view.notifications[0].line, -1);
    EXPECT_FALSE(view.notifications[0].hasChange);
    EXPECT_FALSE(buffer.IsModified());
    EXPECT_EQ(SavedAgain(), "caf\xE9\n");
    buffer.DetachView(&view);
}

}  // namespace
