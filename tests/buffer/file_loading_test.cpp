#include "buffer_test_support.h"

#include "buffer/update_hint.h"
#include "utils/special_files.h"

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

TEST_F(FileLoadingTest, AnEmptyFileIsOneEmptyLineInTheNativeStyle)
{
    Load("");
    EXPECT_THAT(Lines(buffer), ElementsAre(""));
    EXPECT_EQ(buffer.GetLineEndingStyle(), LineEndingStyle::Lf);
    EXPECT_EQ(SavedAgain(), "");
}

TEST_F(FileLoadingTest, ALastLineWithoutLineEndIsWrittenBackWithoutOne)
{
    Load("just one line");
    EXPECT_THAT(Lines(buffer), ElementsAre("just one line"));
    EXPECT_EQ(SavedAgain(), "just one line");

    Load("two\nlines\n");
    EXPECT_THAT(Lines(buffer), ElementsAre("two", "lines", ""));
    EXPECT_EQ(SavedAgain(), "two\nlines\n");
}

TEST_F(FileLoadingTest, TheFirstLineEndFixesTheStyleForTheWholeFile)
{
    Load("first\r\nsecond\nthird\r\n");
    EXPECT_EQ(buffer.GetLineEndingStyle(), LineEndingStyle::CrLf);
    EXPECT_THAT(Lines(buffer), ElementsAre("first", "second\nthird", ""));

    Load("first\nsecond\r\nthird");
    EXPECT_EQ(buffer.GetLineEndingStyle(), LineEndingStyle::Lf);
    EXPECT_THAT(Lines(buffer), ElementsAre("first", "second\r", "third"));

    Load("first\n\rsecond\n\rthird\nfourth");
    EXPECT_EQ(buffer.GetLineEndingStyle(), LineEndingStyle::LfCr);
    EXPECT_THAT(Lines(buffer), ElementsAre("first", "second", "third\nfourth"));
}

TEST_F(FileLoadingTest, CarriageReturnsAloneEndNoLine)
{
    Load("one\rtwo\rthree\r");
    EXPECT_EQ(buffer.GetLineEndingStyle(), LineEndingStyle::Lf);
    EXPECT_THAT(Lines(buffer), ElementsAre("one\rtwo\rthree\r"));
}

TEST_F(FileLoadingTest, ABrokenLineEndMatchStaysInTheLine)
{
    Load("a\r\nb\r\r\nc\r\r\r\nd");
    EXPECT_THAT(Lines(buffer), ElementsAre("a", "b\r\r\nc\r\r", "d"));
    EXPECT_EQ(SavedAgain(), "a\r\nb\r\r\nc\r\r\r\nd");
}

TEST_F(FileLoadingTest, AGivenStyleOverridesDetection)
{
    Load("a\nb\r\nc", LineEndingStyle::CrLf);
    EXPECT_EQ(buffer.GetLineEndingStyle(), LineEndingStyle::CrLf);
    EXPECT_THAT(Lines(buffer), ElementsAre("a\nb", "c"));
}

TEST_F(FileLoadingTest, NulBytesAreKept)
{
    const std::string bytes = "before\0after\r\n\0\r\nend\0"s;
    Load(bytes);
    EXPECT_THAT(Lines(buffer), ElementsAre("before\0after"s, "\0"s, "end\0"s));
    EXPECT_EQ(SavedAgain(), bytes);
}

TEST_F(FileLoadingTest, OnlyTheFirstBlockIsUsedForDetection)
{
    const std::string bytes = std::string(40000, 'x') + "\r\nsecond\r\nthird";
    Load(bytes);
    EXPECT_EQ(buffer.GetLineEndingStyle(), LineEndingStyle::Lf) << "no line feed in the first 32768 bytes";
    EXPECT_THAT(Lines(buffer), ElementsAre(std::string(40000, 'x') + "\r", "second\r", "third"));
    EXPECT_EQ(SavedAgain(), bytes);
}

TEST_F(FileLoadingTest, LineEndsAcrossTheBlockBoundary)
{
    // The carriage return is the last byte of the first block, the line feed the first of the next.
    std::string bytes = "head\r\n" + std::string(32767 - 6, 'a') + "\r\n" + "tail";
    ASSERT_EQ(bytes[32767], '\r');
    Load(bytes);
    EXPECT_THAT(Lines(buffer), ElementsAre("head", std::string(32761, 'a'), "tail"));
    EXPECT_EQ(SavedAgain(), bytes);
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
