#include "buffer/document/quill_edit_doc.h"
#include "buffer/document/recovery_copy.h"
#include "buffer/document/recovery_store.h"
#include "buffer/undo_action.h"
#include "platform/headless/headless_backend.h"
#include "utils/test_scratch_directory.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/file.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>

namespace {

using utils::testing::ReadFile;
using utils::testing::ScratchDirectory;
using utils::testing::WriteFile;
using ::testing::HasSubstr;

std::unique_ptr<LineTable> SnapshotOf(const std::vector<std::string>& lines)
{
    auto snapshot = NewRecoverySnapshot();
    for (const std::string& line : lines)
        snapshot->AppendLine(line);
    return snapshot;
}

TEST(RecoveryCopyTest, CopiesReadBackExactlyWhateverTheirLineEndsPathAndBytes)
{
    const ScratchDirectory directory;
    const struct {
        const char* name;
        std::string documentPath;
        LineEndingStyle lineEnding;
        TextEncoding encoding;
        std::vector<std::string> lines;
        std::string text;
    } cases[] = {
        {"LF, UTF-8", "/home/u/paper.tex", LineEndingStyle::Lf, TextEncoding::Utf8, {"\\section{Žluťoučký}", "", "end"},
         "\\section{Žluťoučký}\n\nend"},
        {"CR LF, Windows-1250", "/d/a;b%c\nd.tex", LineEndingStyle::CrLf, TextEncoding::Legacy, {"\xBE" "lu\x9D", "x\ry"},
         "\xBE" "lu\x9D\r\nx\ry"},
        {"LF CR", "/p.tex", LineEndingStyle::LfCr, TextEncoding::Utf8, {"a", "b"}, "a\n\rb"},
        {"an empty untitled text", "", LineEndingStyle::CrLf, TextEncoding::Utf8, {""}, ""},
    };
    std::int64_t time = 1765000000;
    for (const auto& example : cases) {
        SCOPED_TRACE(example.name);
        const std::string path = directory / "copy.recovery";
        RecoveryCopyHeader header;
        header.documentPath = example.documentPath;
        header.lineEnding = example.lineEnding;
        header.encoding = example.encoding;
        header.writtenAt = ++time;
        auto snapshot = SnapshotOf(example.lines);
        ASSERT_TRUE(WriteRecoveryCopy(path, header, *snapshot)) << std::strerror(errno);
        const RecoveredText recovered = ReadRecoveryCopy(path);
        EXPECT_EQ(recovered.header, header);
        EXPECT_EQ(recovered.text, example.text);
    }
}

TEST(RecoveryCopyTest, DamagedCopiesAreRefusedWithTheirFault)
{
    const ScratchDirectory directory;
    const std::string path = directory / "copy.recovery";
    auto snapshot = SnapshotOf({"first line", "second line"});
    ASSERT_TRUE(WriteRecoveryCopy(path, {"/p.tex", LineEndingStyle::Lf, TextEncoding::Utf8, 5}, *snapshot));
    const std::string good = ReadFile(path);
    std::string altered = good;
    altered[altered.size() - 3] = 'X';
    const struct {
        const char* name;
        std::string content;
        const char* fault;
    } cases[] = {
        {"cut short", good.substr(0, good.size() - 4), "bytes of text instead of"},
        {"a byte changed", altered, "checksum"},
        {"no copy at all", "\\documentclass{article}\n", "does not start as a recovery copy"},
        {"empty", "", "does not start as a recovery copy"},
        {"header cut after a field", good.substr(0, 38), "lacks"},
        {"header cut in a field", good.substr(0, 40), "without a value"},
    };
    for (const auto& example : cases) {
        SCOPED_TRACE(example.name);
        WriteFile(path, example.content);
        try {
            ReadRecoveryCopy(path);
            ADD_FAILURE() << "read a damaged copy";
        } catch (const DamagedRecoveryCopy& damage) {
            EXPECT_THAT(damage.what(), HasSubstr(example.fault));
        }
    }
}

TEST(RecoveryCopyTest, ACopyIsNeverWrittenThroughALink)
{
    const ScratchDirectory directory;
    WriteFile(directory / "paper.tex", "the user's own text\n");
    std::filesystem::create_symlink(directory / "paper.tex", directory / "copy.recovery");
    auto snapshot = SnapshotOf({"typed"});
    EXPECT_FALSE(WriteRecoveryCopy(directory / "copy.recovery", {}, *snapshot));
    EXPECT_EQ(errno, ELOOP);
    EXPECT_EQ(ReadFile(directory / "paper.tex"), "the user's own text\n");
}

TEST(RecoveryStoreTest, OnlyCopiesOfEditorsThatNoLongerRunAreOrphans)
{
    const ScratchDirectory directory;
    const std::string recovery = directory / "state/quillwright/recovery";
    RecoveryStore store(recovery);
    EXPECT_EQ(std::filesystem::status(recovery).permissions() & std::filesystem::perms::all,
              std::filesystem::perms::owner_all);
    // Another editor that runs (its lock held), one that died (its lock free) and one without a lock.
    const int running = ::open((recovery + "/77.1.lock").c_str(), O_RDWR | O_CREAT, 0600);
    ASSERT_EQ(::flock(running, LOCK_EX), 0);
    WriteFile(recovery + "/77.1-1.recovery", "x");
    WriteFile(recovery + "/88.2.lock", "");
    WriteFile(recovery + "/88.2-1.recovery", "x");
    WriteFile(recovery + "/88.2-3.recovery", "x");
    WriteFile(recovery + "/99.3-1.recovery", "x");
    WriteFile(recovery + "/notes.txt", "x");
    auto snapshot = SnapshotOf({"mine"});
    const std::string own = store.NewCopyPath();
    store.Write(own, {}, std::move(snapshot));
    store.WaitUntilIdle();
    ASSERT_TRUE(std::filesystem::exists(own));

    EXPECT_EQ(store.OrphanedCopies(), (std::vector<std::string>{recovery + "/88.2-1.recovery", recovery + "/88.2-3.recovery",
                                                                 recovery + "/99.3-1.recovery"}));
    ::close(running);
    EXPECT_EQ(store.OrphanedCopies().size(), 4u);

    const std::string aside = store.SetAside(recovery + "/99.3-1.recovery");
    EXPECT_EQ(aside, recovery + "/damaged/99.3-1.recovery");
    EXPECT_EQ(ReadFile(aside), "x");
    EXPECT_EQ(store.OrphanedCopies().size(), 3u);
}

TEST(RecoveryStoreTest, WritesAndRemovalsHappenInTheOrderAsked)
{
    const ScratchDirectory directory;
    RecoveryStore store(directory / "recovery");
    std::vector<std::string> failures;
    store.SetFailureReport([&failures](const std::string& failure) { failures.push_back(failure); });
    const std::string copy = store.NewCopyPath();
    for (int round = 0; round < 50; ++round)
        store.Write(copy, {"/p.tex"}, SnapshotOf({"round " + std::to_string(round)}));
    store.WaitUntilIdle();
    EXPECT_EQ(ReadRecoveryCopy(copy).text, "round 49");
    store.Write(copy, {"/p.tex"}, SnapshotOf({"late"}));
    store.Remove(copy);
    store.WaitUntilIdle();
    EXPECT_FALSE(std::filesystem::exists(copy));

    store.Write(directory / "missing/x.recovery", {}, SnapshotOf({"x"}));
    store.WaitUntilIdle();
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_THAT(failures[0], HasSubstr("cannot write the recovery copy " + (directory / "missing/x.recovery")));
}

// A document of the editor with the store of the process.
class DocumentRecoveryTest : public testing::Test {
protected:
    DocumentRecoveryTest() { RecoveryStore::SetActive(&store); }
    ~DocumentRecoveryTest() override { RecoveryStore::SetActive(nullptr); }

    void Type(const std::string& text)
    {
        std::int32_t endLine = 0;
        std::int32_t endChar = 0;
        ASSERT_TRUE(document.Buffer().InsertText(nullptr, 0, 0, text, endLine, endChar, UndoAction::Typing));
    }

    // The copies in the store's directory now.
    std::vector<std::string> Copies()
    {
        store.WaitUntilIdle();
        std::vector<std::string> copies;
        for (const auto& entry : std::filesystem::directory_iterator(store.Directory())) {
            if (entry.path().extension() == ".recovery")
                copies.push_back(entry.path().string());
        }
        return copies;
    }

    platform::headless::HeadlessBackend backend;
    ScratchDirectory directory;
    RecoveryStore store{directory / "recovery"};
    CQuillEditDoc document;
    RecoveryKeeper::Clock::time_point start = RecoveryKeeper::Clock::now();
};

TEST_F(DocumentRecoveryTest, ChangesAreCopiedAtMostOncePerIntervalAndSavingRemovesTheCopy)
{
    const std::string paper = directory / "paper.tex";
    WriteFile(paper, "\\begin{document}\r\n\\end{document}\r\n");
    ASSERT_TRUE(document.OnOpenDocument(paper));
    document.SetPathName(paper, RecentFiles::Leave);
    document.TickRecovery(start);
    EXPECT_TRUE(Copies().empty()) << "an unchanged text needs no copy";

    Type("a");
    document.TickRecovery(start);
    auto copies = Copies();
    ASSERT_EQ(copies.size(), 1u);
    RecoveredText recovered = ReadRecoveryCopy(copies[0]);
    EXPECT_EQ(recovered.text, "a\\begin{document}\r\n\\end{document}\r\n");
    EXPECT_EQ(recovered.header.documentPath, paper);
    EXPECT_EQ(recovered.header.lineEnding, LineEndingStyle::CrLf);

    Type("b");
    document.TickRecovery(start + std::chrono::seconds(9));
    EXPECT_EQ(ReadRecoveryCopy(Copies().at(0)).text.substr(0, 2), "a\\") << "too early for the next copy";
    document.TickRecovery(start + RecoveryKeeper::kInterval);
    EXPECT_EQ(ReadRecoveryCopy(Copies().at(0)).text.substr(0, 3), "ba\\");
    EXPECT_EQ(ReadFile(paper), "\\begin{document}\r\n\\end{document}\r\n") << "the user's file is untouched";

    ASSERT_TRUE(document.DoFileSave());
    EXPECT_TRUE(Copies().empty());
    EXPECT_EQ(ReadFile(paper), "ba\\begin{document}\r\n\\end{document}\r\n");
}

TEST_F(DocumentRecoveryTest, GivingUpTheTextRemovesTheCopyAndARecoveredTextIsModifiedUnderItsPath)
{
    const std::string paper = directory / "paper.tex";
    WriteFile(paper, "saved\n");
    ASSERT_TRUE(document.OnOpenDocument(paper));
    Type("typed ");
    document.TickRecovery(start);
    ASSERT_EQ(Copies().size(), 1u);
    document.DeleteContents();
    EXPECT_TRUE(Copies().empty());

    RecoveredText recovered;
    recovered.header.documentPath = paper;
    recovered.header.lineEnding = LineEndingStyle::Lf;
    recovered.header.encoding = TextEncoding::Legacy;
    recovered.text = "recovered \xE9\nsecond";
    document.RecoverText(recovered);
    EXPECT_TRUE(document.IsModified());
    EXPECT_EQ(document.GetPathName(), paper);
    EXPECT_EQ(document.Buffer().LineCount(), 2);
    EXPECT_EQ(document.Buffer().Encoding(), TextEncoding::Legacy);
    EXPECT_EQ(ReadFile(paper), "saved\n");
    ASSERT_TRUE(document.DoFileSave());
    EXPECT_EQ(ReadFile(paper), "recovered \xE9\nsecond");
}

}  // namespace
