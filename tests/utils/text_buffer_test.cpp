#include "utils/text_buffer.h"

#include "utils/test_scratch_directory.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <functional>
#include <random>
#include <unistd.h>

namespace utils {
namespace {

using testing::ReadFile;
using testing::ScratchDirectory;
using testing::WriteFile;
using namespace std::string_literals;

constexpr std::uint8_t kStay = 0;
constexpr std::uint8_t kMove = TextBuffer::kMoveOnInsert;

std::string Whole(TextBuffer& buffer)
{
    return std::string(buffer.Text());
}

TEST(TextBufferFind, MismatchRestartsAfterThePartialMatchBegan)
{
    const TextBuffer buffer("aab");
    EXPECT_EQ(buffer.Find("ab", Case::Sensitive), 1);
    EXPECT_EQ(TextBuffer("aaab").Find("aab", Case::Sensitive), 1);
}

TEST(TextBufferFind, CommentCharacterSkipsToTheLineFeed)
{
    const TextBuffer buffer("a%x\nx");
    EXPECT_EQ(buffer.Find("x", Case::Sensitive, 0, '%'), 4);
    EXPECT_EQ(buffer.Find("x", Case::Sensitive, 0), 2);
    EXPECT_EQ(buffer.Find("\nx", Case::Sensitive, 0, '%'), 3);
    EXPECT_EQ(TextBuffer("%x").Find("x", Case::Sensitive, 0, '%'), -1);
    EXPECT_EQ(TextBuffer("%documentclass\n\\Documentclass").Find("\\DOCUMENTCLASS", Case::Insensitive, 0, '%'), 15);
}

TEST(TextBufferFind, CaseAndStartPosition)
{
    const TextBuffer buffer("<H1>Title</h1><h1>");
    EXPECT_EQ(buffer.Find("<h1>", Case::Sensitive), 14);
    EXPECT_EQ(buffer.Find("<h1>", Case::Insensitive), 0);
    EXPECT_EQ(buffer.Find("<h1>", Case::Insensitive, 1), 14);
    EXPECT_EQ(buffer.Find("</H1>", Case::Insensitive, 9), 9);
    EXPECT_EQ(buffer.Find("<h1>", Case::Insensitive, -5), 0);
    EXPECT_EQ(buffer.Find("<h1>", Case::Insensitive, 15), -1);
    EXPECT_EQ(buffer.Find("<h1>", Case::Insensitive, 1000), -1);
    EXPECT_EQ(buffer.Find("", Case::Sensitive), -1);
    EXPECT_EQ(buffer.Find("longer than the whole text", Case::Sensitive), -1);
}

TEST(TextBufferFind, FindsEveryPieceWhereverTheLastEditWas)
{
    const std::string text = "abcdefgh";
    for (std::int32_t edit = 0; edit <= 8; ++edit) {
        TextBuffer buffer(text);
        // An edit that leaves the text as it was but happens at a chosen place.
        ASSERT_TRUE(buffer.Insert(edit, "X"));
        ASSERT_TRUE(buffer.Erase(edit, edit + 1));
        for (std::size_t start = 0; start < text.size(); ++start) {
            for (std::size_t length = 1; start + length <= text.size(); ++length) {
                const std::string piece = text.substr(start, length);
                for (std::int32_t from = 0; from <= 8; ++from) {
                    const std::size_t expected = text.find(piece, static_cast<std::size_t>(from));
                    const std::int32_t wanted = expected == std::string::npos ? -1 : static_cast<std::int32_t>(expected);
                    ASSERT_EQ(buffer.Find(piece, Case::Sensitive, from), wanted) << edit << " " << piece << " " << from;
                    ASSERT_EQ(buffer.Find(ToUpperCase(piece), Case::Insensitive, from), wanted) << edit << " " << piece;
                }
            }
        }
    }
}

TEST(TextBufferFind, EndOfLine)
{
    const TextBuffer buffer("ab\r\ncd\nef");
    EXPECT_EQ(buffer.EndOfLine(0), 2);
    EXPECT_EQ(buffer.EndOfLine(2), 2);
    EXPECT_EQ(buffer.EndOfLine(4), 6);
    EXPECT_EQ(buffer.EndOfLine(7), 9);
    EXPECT_EQ(buffer.EndOfLine(-3), 2);
    EXPECT_EQ(buffer.EndOfLine(100), 9);
}

TEST(TextBufferEdit, ReplaceAllDoesNotSearchInsertedText)
{
    TextBuffer buffer("aXa");
    EXPECT_EQ(buffer.ReplaceAll("a", "aa", Case::Sensitive), 2);
    EXPECT_EQ(Whole(buffer), "aaXaa");

    TextBuffer table(R"(<TABLE BORDER="1"><TABLE BORDER="1">)");
    const std::string spaced = R"(CELLSPACING=0 BORDERCOLOR=BLACK BORDERCOLORDARK=WHITE BORDER="1")";
    EXPECT_EQ(table.ReplaceAll(R"(BORDER="1")", spaced, Case::Sensitive), 2);
    EXPECT_EQ(Whole(table), "<TABLE " + spaced + "><TABLE " + spaced + ">");
}

TEST(TextBufferEdit, ReplaceAllFromStartPositionAndIgnoringCase)
{
    TextBuffer buffer("<HR> <hr> <Hr>");
    EXPECT_EQ(buffer.ReplaceAll("<hr>", "<hr size=1>", Case::Insensitive, 1), 2);
    EXPECT_EQ(Whole(buffer), "<HR> <hr size=1> <hr size=1>");
    EXPECT_EQ(buffer.ReplaceAll("", "x", Case::Sensitive), 0);
    EXPECT_EQ(buffer.ReplaceAll("<HR>", "", Case::Sensitive), 1);
    EXPECT_EQ(Whole(buffer), " <hr size=1> <hr size=1>");
}

TEST(TextBufferEdit, InsertEraseAndReplaceRange)
{
    TextBuffer buffer("Hello world");
    EXPECT_TRUE(buffer.Insert(5, ","));
    EXPECT_TRUE(buffer.Append("!"));
    EXPECT_TRUE(buffer.Insert(0, ">> "));
    EXPECT_EQ(Whole(buffer), ">> Hello, world!");
    EXPECT_TRUE(buffer.Erase(0, 3));
    EXPECT_TRUE(buffer.ReplaceRange(7, 12, "there"));
    EXPECT_EQ(Whole(buffer), "Hello, there!");
    EXPECT_EQ(buffer.Size(), 13);
    EXPECT_EQ(buffer.Substring(7, 12), "there");
    EXPECT_EQ(buffer.ByteAt(12), '!');
}

TEST(TextBufferEdit, BytesAreKeptExactlyIncludingZeroBytes)
{
    TextBuffer buffer("a\0b"s);
    EXPECT_EQ(buffer.Size(), 3);
    EXPECT_TRUE(buffer.Insert(1, "\0\0"s));
    EXPECT_EQ(Whole(buffer), "a\0\0\0b"s);
    EXPECT_EQ(buffer.Text().data()[buffer.Size()], '\0');
}

TEST(TextBufferEdit, EmptyViewWithoutBytesInsertsNothing)
{
    TextBuffer buffer("abc");
    EXPECT_TRUE(buffer.Insert(1, std::string_view{}));
    EXPECT_TRUE(buffer.ReplaceRange(0, 1, std::string_view{}));
    EXPECT_EQ(Whole(buffer), "bc");
}

TEST(TextBufferEdit, InsertingPartOfItsOwnText)
{
    TextBuffer buffer("abcdef");
    const std::string_view whole = buffer.Text();
    EXPECT_TRUE(buffer.Insert(3, whole));
    EXPECT_EQ(Whole(buffer), "abcabcdefdef");
    const std::string_view again = buffer.Text();
    EXPECT_TRUE(buffer.ReplaceRange(0, 3, again.substr(6, 6)));
    EXPECT_EQ(Whole(buffer), "defdefabcdefdef");
    const std::string_view pattern = buffer.Text().substr(0, 3);
    EXPECT_EQ(buffer.ReplaceAll(pattern, "-", Case::Sensitive), 4);
    EXPECT_EQ(Whole(buffer), "--abc--");
}

TEST(TextBufferMarkers, EditsMoveMarkersBehindThemAndFlaggedOnesAtTheirPlace)
{
    struct MarkerCase {
        const char* what;
        std::string text;
        std::vector<std::pair<std::int32_t, std::uint8_t>> markers;  // position and flags, by index
        std::function<bool(TextBuffer&)> edit;
        std::vector<std::int32_t> positions;
    };
    const MarkerCase cases[] = {
        {"an insertion at a marker moves only flagged markers", "0123456789", {{4, kStay}, {4, kMove}, {6, kStay}, {2, kMove}},
         [](TextBuffer& buffer) { return buffer.Insert(4, "abc"); }, {4, 7, 9, 2}},
        {"erasing moves markers inside to the start", "0123456789", {{3, kStay}, {5, kStay}, {7, kStay}, {9, kStay}},
         [](TextBuffer& buffer) { return buffer.Erase(3, 7); }, {3, 3, 3, 5}},
        // An opening marker replaced by its HTML text: the marker at its end lands on the argument "arg".
        {"a flagged marker at the end of a replaced text goes behind the replacement", "x888888890001.arg.99999999y",
         {{14, kMove}}, [](TextBuffer& buffer) { return buffer.ReplaceRange(1, 14, "<b>"); }, {4}},
    };
    for (const MarkerCase& testCase : cases) {
        SCOPED_TRACE(testCase.what);
        TextBuffer buffer(testCase.text);
        for (std::size_t index = 0; index < testCase.markers.size(); ++index)
            buffer.SetMarker(static_cast<std::int32_t>(index), testCase.markers[index].first, testCase.markers[index].second);
        ASSERT_TRUE(testCase.edit(buffer));
        for (std::size_t index = 0; index < testCase.positions.size(); ++index)
            EXPECT_EQ(buffer.MarkerPosition(static_cast<std::int32_t>(index)), testCase.positions[index]) << "marker " << index;
    }
}

TEST(TextBufferMarkers, SettingAMarkerTruncatesTheList)
{
    TextBuffer buffer("0123456789");
    EXPECT_TRUE(buffer.SetMarker(3, 8, kStay));
    EXPECT_EQ(buffer.MarkerPosition(0), 0);
    EXPECT_EQ(buffer.MarkerPosition(3), 8);
    EXPECT_TRUE(buffer.SetMarker(1, 5, kStay));
    EXPECT_EQ(buffer.MarkerPosition(1), 5);
    EXPECT_EQ(buffer.MarkerPosition(2), -1);
    EXPECT_EQ(buffer.MarkerPosition(3), -1);
}

TEST(TextBufferBounds, BadPositionsAndRangesAreRefusedWithoutChange)
{
    TextBuffer buffer("0123456789");
    EXPECT_FALSE(buffer.Insert(-1, "x"));
    EXPECT_FALSE(buffer.Insert(11, "x"));
    EXPECT_FALSE(buffer.Erase(5, 4));
    EXPECT_FALSE(buffer.Erase(-1, 4));
    EXPECT_FALSE(buffer.Erase(5, 11));
    EXPECT_FALSE(buffer.ReplaceRange(5, 4, "x"));
    EXPECT_FALSE(buffer.ReplaceRange(8, 12, "x"));
    EXPECT_FALSE(buffer.ReplaceRange(-2, 1, "x"));
    EXPECT_EQ(Whole(buffer), "0123456789");
    EXPECT_TRUE(buffer.Erase(10, 10));
    EXPECT_TRUE(buffer.Insert(10, "!"));
    EXPECT_EQ(Whole(buffer), "0123456789!");
}

TEST(TextBufferBounds, ReadsOutsideTheTextGiveNothing)
{
    const TextBuffer buffer("abc");
    EXPECT_EQ(buffer.ByteAt(-1), '\0');
    EXPECT_EQ(buffer.ByteAt(3), '\0');
    EXPECT_EQ(buffer.ByteAt(1000000), '\0');
    EXPECT_EQ(buffer.Substring(-5, 2), "ab");
    EXPECT_EQ(buffer.Substring(1, 100), "bc");
    EXPECT_EQ(buffer.Substring(2, 1), "");
}

TEST(TextBufferBounds, BadMarkerIndexesAreRefusedAndPositionsClamped)
{
    TextBuffer buffer("abc");
    EXPECT_FALSE(buffer.SetMarker(-1, 0, kStay));
    EXPECT_FALSE(buffer.SetMarker(TextBuffer::kMaximumMarkerIndex + 1, 0, kStay));
    EXPECT_FALSE(buffer.SetMarker(2147483647, 0, kStay));
    EXPECT_EQ(buffer.MarkerPosition(-1), -1);
    EXPECT_EQ(buffer.MarkerPosition(0), -1);
    EXPECT_TRUE(buffer.SetMarker(0, 99, kStay));
    EXPECT_EQ(buffer.MarkerPosition(0), 3);
    EXPECT_TRUE(buffer.SetMarker(1, -4, kStay));
    EXPECT_EQ(buffer.MarkerPosition(1), 0);
}

TEST(TextBufferCapacity, GrowsInThousandsAndNeverShrinks)
{
    TextBuffer buffer("abc");
    EXPECT_EQ(buffer.Capacity(), 4);
    EXPECT_TRUE(buffer.Append("d"));
    EXPECT_EQ(buffer.Capacity(), 1000);
    EXPECT_TRUE(buffer.Append(std::string(996, 'x')));
    EXPECT_EQ(buffer.Capacity(), 2000);
    std::int32_t previous = buffer.Capacity();
    for (int round = 0; round < 2000; ++round) {
        EXPECT_TRUE(buffer.Append("0123456789"));
        EXPECT_EQ(buffer.Capacity() % 1000, 0);
        EXPECT_GE(buffer.Capacity(), previous);
        EXPECT_GT(buffer.Capacity(), buffer.Size());
        previous = buffer.Capacity();
    }
    EXPECT_TRUE(buffer.Erase(0, buffer.Size()));
    EXPECT_EQ(buffer.Capacity(), previous);
    EXPECT_EQ(buffer.Size(), 0);
}

TEST(TextBufferFiles, TextModeTurnsCarriageReturnLineFeedIntoLineFeed)
{
    const ScratchDirectory scratch;
    const std::string path = scratch / "paper.log";
    WriteFile(path, "one\r\ntwo\r\n! error\rthree");
    TextBuffer text(path, FileMode::Text);
    EXPECT_TRUE(text.HasBytes());
    EXPECT_EQ(Whole(text), "one\ntwo\n! error\rthree");
    EXPECT_EQ(text.Capacity(), 1000);
    TextBuffer binary(path, FileMode::Binary);
    EXPECT_EQ(Whole(binary), "one\r\ntwo\r\n! error\rthree");
}

TEST(TextBufferFiles, EditedTextIsSavedByteForByte)
{
    const ScratchDirectory scratch;
    const std::string path = scratch / "page.html";
    WriteFile(path, "<HTML>\r\n<HR>\r\n\0</HTML>"s);
    TextBuffer page(path, FileMode::Binary);
    EXPECT_EQ(page.ReplaceAll("<HR>", "<hr size=1>", Case::Sensitive), 1);
    EXPECT_TRUE(page.Save());
    EXPECT_EQ(ReadFile(path), "<HTML>\r\n<hr size=1>\r\n\0</HTML>"s);
}

TEST(TextBufferFiles, EmptyFileHasBytesAndSavesEmpty)
{
    const ScratchDirectory scratch;
    const std::string path = scratch / "empty.html";
    WriteFile(path, "");
    TextBuffer page(path, FileMode::Binary);
    EXPECT_TRUE(page.HasBytes());
    EXPECT_EQ(page.Size(), 0);
    EXPECT_TRUE(page.Append("x"));
    EXPECT_TRUE(page.Save());
    EXPECT_EQ(ReadFile(path), "x");
}

TEST(TextBufferFiles, UnreadableFileLeavesNoBytesAndIsNeverWritten)
{
    const ScratchDirectory scratch;
    const std::string path = scratch / "missing.html";
    TextBuffer page(path, FileMode::Binary);
    EXPECT_FALSE(page.HasBytes());
    EXPECT_EQ(page.Size(), 0);
    EXPECT_EQ(Whole(page), "");
    EXPECT_EQ(page.Find("x", Case::Sensitive), -1);
    EXPECT_FALSE(page.Erase(0, 0));
    EXPECT_FALSE(page.Load());
    EXPECT_TRUE(page.Save());
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST(TextBufferFiles, SaveReportsFailure)
{
    const ScratchDirectory scratch;
    const std::string path = scratch / "page.html";
    WriteFile(path, "text");
    TextBuffer page(path, FileMode::Binary);
    std::filesystem::remove(path);
    std::filesystem::create_directory(path);
    EXPECT_FALSE(page.Save());
}

TEST(TextBufferFiles, ReloadKeepsMarkersInsideTheText)
{
    const ScratchDirectory scratch;
    const std::string path = scratch / "page.html";
    WriteFile(path, "0123456789");
    TextBuffer page(path, FileMode::Binary);
    page.SetMarker(0, 8, kStay);
    WriteFile(path, "012");
    EXPECT_TRUE(page.Load());
    EXPECT_EQ(page.MarkerPosition(0), 3);
    std::filesystem::remove(path);
    EXPECT_FALSE(page.Load());
    EXPECT_EQ(page.MarkerPosition(0), 0);
}

TEST(TextBufferFiles, FilesTooLargeForSignedSizesAreRefused)
{
    const ScratchDirectory scratch;
    const std::string path = scratch / "huge.html";
    {
        const int file = ::open(path.c_str(), O_WRONLY | O_CREAT, 0644);
        ASSERT_GE(file, 0);
        ASSERT_EQ(::ftruncate(file, 3LL * 1024 * 1024 * 1024), 0);  // sparse: costs no disk space
        ::close(file);
    }
    TextBuffer page(path, FileMode::Binary);
    EXPECT_FALSE(page.HasBytes());
    EXPECT_EQ(page.Size(), 0);
}

// Random edits checked against a plain string: the text, the searches across the place of the
// previous edit and the markers must always agree.
TEST(TextBufferModel, RandomEditsAgreeWithAPlainString)
{
    std::mt19937 random(20261206);
    std::string model = "The quick brown fox jumps over the lazy dog. ";
    TextBuffer buffer(model);
    const auto randomPosition = [&random](std::size_t size) {
        return static_cast<std::int32_t>(std::uniform_int_distribution<std::size_t>(0, size)(random));
    };
    const std::string pieces[] = {"fox", "FOX", "o", "the ", "", "lazy dog", "\r\n", "Jumps"};
    for (int step = 0; step < 5000; ++step) {
        const std::string& piece = pieces[random() % std::size(pieces)];
        const std::int32_t first = randomPosition(model.size());
        const std::int32_t second = randomPosition(model.size());
        const std::int32_t start = std::min(first, second);
        const std::int32_t end = std::max(first, second);
        switch (random() % 4) {
        case 0:
            ASSERT_TRUE(buffer.Insert(first, piece));
            model.insert(static_cast<std::size_t>(first), piece);
            break;
        case 1:
            if (end - start < 8) {
                ASSERT_TRUE(buffer.Erase(start, end));
                model.erase(static_cast<std::size_t>(start), static_cast<std::size_t>(end - start));
            }
            break;
        case 2:
            ASSERT_TRUE(buffer.ReplaceRange(start, std::min(end, start + 5), piece));
            model.replace(static_cast<std::size_t>(start), static_cast<std::size_t>(std::min(end, start + 5) - start), piece);
            break;
        default: {
            const Case comparison = random() % 2 ? Case::Sensitive : Case::Insensitive;
            const std::string pattern = piece.empty() ? "x" : piece;
            const std::size_t expected = comparison == Case::Sensitive
                                             ? model.find(pattern, static_cast<std::size_t>(start))
                                             : ToLowerCase(model).find(ToLowerCase(pattern), static_cast<std::size_t>(start));
            const std::int32_t found = buffer.Find(pattern, comparison, start);
            ASSERT_EQ(found, expected == std::string::npos ? -1 : static_cast<std::int32_t>(expected)) << "step " << step;
        }
        }
        ASSERT_EQ(buffer.Size(), static_cast<std::int32_t>(model.size()));
        ASSERT_EQ(buffer.ByteAt(first), first < static_cast<std::int32_t>(model.size()) ? model[static_cast<std::size_t>(first)] : '\0');
        if (step % 250 == 0) {
            ASSERT_EQ(Whole(buffer), model) << "step " << step;
        }
    }
    EXPECT_EQ(Whole(buffer), model);
}

// Arbitrary arguments, valid or not: refused calls change nothing, accepted ones agree with a plain
// string, and nothing is read or written outside the text (the sanitizer build checks the latter).
TEST(TextBufferModel, ArbitraryArgumentsNeverCorruptTheText)
{
    std::mt19937 random(4242);
    std::string model = "<HTML>\r\n888888890001.x.99999999\r\n</HTML>";
    TextBuffer buffer(model);
    const auto anyPosition = [&random, &model]() -> std::int32_t {
        const std::int32_t size = static_cast<std::int32_t>(model.size());
        const std::int32_t choices[] = {INT32_MIN, -1, 0, size - 1, size, size + 1, INT32_MAX};
        if (random() % 2 == 0)
            return choices[random() % std::size(choices)];
        return static_cast<std::int32_t>(random() % (model.size() + 3)) - 1;
    };
    for (int step = 0; step < 20000; ++step) {
        const std::int32_t first = anyPosition();
        const std::int32_t second = anyPosition();
        const std::int32_t size = static_cast<std::int32_t>(model.size());
        const bool validPosition = first >= 0 && first <= size;
        const bool validRange = validPosition && second >= first && second <= size;
        switch (random() % 6) {
        case 0:
            ASSERT_EQ(buffer.Insert(first, "ab"), validPosition);
            if (validPosition)
                model.insert(static_cast<std::size_t>(first), "ab");
            break;
        case 1:
            ASSERT_EQ(buffer.Erase(first, second), validRange);
            if (validRange)
                model.erase(static_cast<std::size_t>(first), static_cast<std::size_t>(second - first));
            break;
        case 2:
            ASSERT_EQ(buffer.ReplaceRange(first, second, "xyz"), validRange);
            if (validRange)
                model.replace(static_cast<std::size_t>(first), static_cast<std::size_t>(second - first), "xyz");
            break;
        case 3:
            buffer.SetMarker(static_cast<std::int32_t>(random() % 4), first, kMove);
            ASSERT_GE(buffer.MarkerPosition(static_cast<std::int32_t>(random() % 4)), -1);
            break;
        case 4:
            ASSERT_GE(buffer.Find("x", Case::Insensitive, first, random() % 2 ? '%' : '\0'), -1);
            ASSERT_LE(buffer.EndOfLine(first), size);
            break;
        default:
            ASSERT_EQ(buffer.ByteAt(first), validPosition && first < size ? model[static_cast<std::size_t>(first)] : '\0');
            ASSERT_EQ(buffer.Substring(first, second).size(),
                      static_cast<std::size_t>(std::max<std::int64_t>(0, std::int64_t{std::min(second, size)} - std::clamp(first, 0, size))));
        }
        for (std::int32_t marker = 0; marker < 4; ++marker)
            ASSERT_LE(buffer.MarkerPosition(marker), buffer.Size());
        if (model.size() > 4000) {
            model.erase(0, 2000);
            ASSERT_TRUE(buffer.Erase(0, 2000));
        }
    }
    EXPECT_EQ(Whole(buffer), model);
}

}  // namespace
}  // namespace utils
