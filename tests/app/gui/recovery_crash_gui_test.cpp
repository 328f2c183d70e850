// The editor killed with SIGKILL while it edits: its recovery copy brings the typed text back, and a
// kill during the write of a copy costs neither the user's file nor the copy before it.
#include "app/window/editor_app.h"
#include "app/window/main_frame.h"
#include "buffer/document/recovery_copy.h"
#include "buffer/document/recovery_store.h"
#include "documents/latex_doc.h"
#include "platform/doc_template.h"
#include "platform/view.h"
#include "platform/qt/qt_painted_window.h"
#include "utils/test_scratch_directory.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include "qt_event_pumping.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

using utils::testing::ReadFile;
using utils::testing::ScratchDirectory;
using utils::testing::WriteFile;

constexpr const char* DocumentVariable = "QUILLWRIGHT_CRASH_DOCUMENT";
constexpr const char* FirstTypingVariable = "QUILLWRIGHT_CRASH_TYPING";
constexpr const char* SecondTypingVariable = "QUILLWRIGHT_CRASH_MORE_TYPING";

QAbstractScrollArea& EditorWidget(CEditorApp& application)
{
    auto* view = application.MainFrame()->GetActiveView();
    return *static_cast<QAbstractScrollArea*>(dynamic_cast<platform::qt::QtPaintedWindow*>(view->Peer())->Widget());
}

void TypeKeys(CEditorApp& application, const QString& text)
{
    for (QChar character : text) {
        const QChar upper = character.toUpper();
        const bool letter = upper >= QLatin1Char('A') && upper <= QLatin1Char('Z');
        const auto key = letter ? static_cast<Qt::Key>(upper.unicode()) : Qt::Key_unknown;
        const auto modifiers = character.isUpper() ? Qt::ShiftModifier : Qt::NoModifier;
        QKeyEvent press(QEvent::KeyPress, key, modifiers, QString(character));
        QApplication::sendEvent(&EditorWidget(application), &press);
        QKeyEvent release(QEvent::KeyRelease, key, modifiers, QString(character));
        QApplication::sendEvent(&EditorWidget(application), &release);
        ProcessEventsFor(10);
    }
}

std::vector<std::filesystem::path> FilesIn(const std::filesystem::path& directory, const std::string& extension)
{
    std::vector<std::filesystem::path> files;
    std::error_code error;
    for (auto entry = std::filesystem::directory_iterator(directory, error);
         !error && entry != std::filesystem::directory_iterator(); entry.increment(error)) {
        if (entry->path().extension() == extension)
            files.push_back(entry->path());
    }
    return files;
}

// The text of the one complete copy in directory, if there is one.
std::optional<std::string> CopiedText(const std::filesystem::path& directory)
{
    const auto copies = FilesIn(directory, ".recovery");
    if (copies.size() != 1)
        return std::nullopt;
    try {
        return ReadRecoveryCopy(copies[0]).text;
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

// The editor of a crash test, in a process of its own: it opens the document, types, waits for its
// copy when there is more to type, types that, and goes on working until it is killed.
TEST(RecoveryCrashChild, DISABLED_EditsUntilKilled)
{
    RecoveryStore store(RecoveryStore::DefaultDirectory());
    RecoveryStore::SetActive(&store);
    CEditorApp application(std::getenv(DocumentVariable));
    ASSERT_TRUE(application.InitInstance());
    ProcessEventsFor(100);
    TypeKeys(application, QString::fromUtf8(std::getenv(FirstTypingVariable)));
    if (const char* more = std::getenv(SecondTypingVariable)) {
        ASSERT_TRUE(ProcessEventsUntil([&store] { return CopiedText(store.Directory()).has_value(); }, 30000));
        TypeKeys(application, QString::fromUtf8(more));
    }
    for (;;)
        ProcessEventsFor(1000);
}

class RecoveryCrashTest : public testing::Test {
protected:
    RecoveryCrashTest() { std::filesystem::create_directories(state / "quillwright"); }

    ~RecoveryCrashTest() override
    {
        if (child > 0) {
            ::kill(child, SIGKILL);
            ::waitpid(child, nullptr, 0);
        }
    }

    // Starts the editor of this test program in a process of its own.
    void StartEditor(const std::string& typing, const char* moreTyping = nullptr)
    {
        child = ::fork();
        ASSERT_GE(child, 0);
        if (child != 0)
            return;
        // The editor never outlives this test, whatever ends the test: an orphan would keep the
        // test's output open and hold the whole run until its time limit.
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        ::setenv("XDG_STATE_HOME", state.c_str(), 1);
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
        ::setenv(DocumentVariable, document.c_str(), 1);
        ::setenv(FirstTypingVariable, typing.c_str(), 1);
        if (moreTyping != nullptr)
            ::setenv(SecondTypingVariable, moreTyping, 1);
        ::execl("/proc/self/exe", "app_gui_tests", "--gtest_filter=RecoveryCrashChild.DISABLED_EditsUntilKilled",
                "--gtest_also_run_disabled_tests", static_cast<char*>(nullptr));
        std::_Exit(127);
    }

    void KillEditor()
    {
        ASSERT_EQ(::kill(child, SIGKILL), 0);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << "the editor ended before it was killed";
        child = -1;
    }

    bool WaitFor(const std::function<bool()>& condition, int seconds)
    {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
        while (!condition()) {
            if (std::chrono::steady_clock::now() > end)
                return false;
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
        return true;
    }

    ScratchDirectory directory;
    std::filesystem::path state = directory / "state";
    std::filesystem::path recovery = state / "quillwright/recovery";
    std::string document = directory / "paper.tex";
    pid_t child = -1;
};

TEST_F(RecoveryCrashTest, AKilledEditorsTypingIsRecoveredAtTheNextStart)
{
    const std::string original = "\\documentclass{article}\n\\begin{document}\nText.\n\\end{document}\n";
    WriteFile(document, original);
    StartEditor("Typed before the crash ");
    const std::string typed = "Typed before the crash " + original;
    ASSERT_TRUE(WaitFor([this, &typed] { return CopiedText(recovery) == typed; }, 60)) << "no recovery copy was written";
    KillEditor();
    EXPECT_EQ(ReadFile(document), original);

    // The next start, with the store of the program.
    ::setenv("XDG_STATE_HOME", state.c_str(), 1);
    RecoveryStore store(RecoveryStore::DefaultDirectory());
    RecoveryStore::SetActive(&store);
    std::string question;
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&question] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            question = box->text().toStdString();
            box->button(QMessageBox::Yes)->click();
        }
    });
    answer.start(20);
    auto application = std::make_unique<CEditorApp>(document);
    ASSERT_TRUE(application->InitInstance());
    answer.stop();

    EXPECT_TRUE(question.starts_with("Recover unsaved changes to " + document + " from ")) << question;
    auto& recovered = dynamic_cast<CLatexDoc&>(*application->DocTemplate()->GetDocument());
    EXPECT_TRUE(recovered.IsModified());
    EXPECT_EQ(recovered.GetPathName(), document);
    std::string text;
    const std::int32_t lastLine = recovered.Buffer().LineCount() - 1;
    recovered.Buffer().ExtractText(0, 0, lastLine, recovered.Buffer().LineLength(lastLine), text, "\n");
    EXPECT_EQ(text, typed);
    EXPECT_EQ(ReadFile(document), original) << "recovering writes nothing over the user's file";
    store.WaitUntilIdle();
    EXPECT_TRUE(FilesIn(recovery, ".recovery").empty()) << "the recovered copy is gone";

    ASSERT_TRUE(recovered.DoFileSave());
    EXPECT_EQ(ReadFile(document), typed);
    application->m_pMainWnd->DestroyWindow();
    application.reset();
    ProcessEventsFor(20);
}

TEST_F(RecoveryCrashTest, AKillDuringTheWriteOfACopyLosesNeitherTheFileNorThePreviousCopy)
{
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "timed against a 20 MB write, which the sanitizer build slows past the test's waits";
#endif
    // Large enough that writing a copy takes a while.
    std::string original;
    for (int line = 0; line < 400000; ++line)
        original += "A line of the long document, number " + std::to_string(line) + ".\n";
    WriteFile(document, original);
    StartEditor("first ", "second ");
    // The second copy is due ten seconds after the first; its temporary file shows the write.
    ASSERT_TRUE(WaitFor([this] { return CopiedText(recovery).has_value(); }, 60));
    const std::string firstCopy = *CopiedText(recovery);
    EXPECT_EQ(firstCopy, "first " + original);
    ASSERT_TRUE(WaitFor([this] { return !FilesIn(recovery, ".tmp").empty(); }, 60)) << "no second copy was started";
    KillEditor();

    EXPECT_FALSE(FilesIn(recovery, ".tmp").empty()) << "the kill came after the write had ended";
    EXPECT_EQ(ReadFile(document), original);
    EXPECT_EQ(CopiedText(recovery), firstCopy) << "the previous copy is whole";
}

}  // namespace
