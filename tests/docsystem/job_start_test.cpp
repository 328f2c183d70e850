#include "docsystem/fake_processing_server.h"
#include "docsystem/job_test_support.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <future>
#include <thread>

using namespace docsystem::testing;
using ::testing::ElementsAre;

namespace {

// Records the thread and the reported errors at the moment the finished notification arrives.
class RecordingWindow : public JobNotificationWindow {
public:
    explicit RecordingWindow(const ReportedErrors& errors) : m_errors(errors) {}

    void SendFinishedNotification() override
    {
        const std::lock_guard lock(m_mutex);
        ++m_notifications;
        m_thread = std::this_thread::get_id();
        m_errorsAtNotification = m_errors.Texts().size();
        m_changed.notify_all();
    }

    bool WaitForNotification()
    {
        std::unique_lock lock(m_mutex);
        return m_changed.wait_for(lock, std::chrono::seconds(30), [this] { return m_notifications > 0; });
    }

    int Notifications() const { return m_notifications; }
    std::thread::id Thread() const { return m_thread; }
    std::size_t ErrorsAtNotification() const { return m_errorsAtNotification; }

private:
    const ReportedErrors& m_errors;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    int m_notifications = 0;
    std::thread::id m_thread;
    std::size_t m_errorsAtNotification = 0;
};

// A callback that says when the job deletes it.
class DeletionSignallingCallback : public RecordingCallback {
public:
    DeletionSignallingCallback(std::map<JobParameter, std::string> parameters, CallbackRecord& record, std::promise<void>& deleted)
        : RecordingCallback(std::move(parameters), record), m_deleted(deleted)
    {
    }
    ~DeletionSignallingCallback() override { m_deleted.set_value(); }

private:
    std::promise<void>& m_deleted;
};

}  // namespace

TEST(JobStartTest, WithAWindowTheJobRunsOnItsOwnThreadAndNotifiesAfterReportingItsError)
{
    JobWorkspace workspace;
    workspace.Write("doc/paper.tex", "text\n");
    ReportedErrors errors;
    RecordingWindow window(errors);
    CallbackRecord record;
    std::promise<void> deleted;
    // The server holds the job until the test has seen StartDocumentationJob return.
    std::promise<void> started;
    test_support::LoopbackPeer server([&](int socket) {
        started.get_future().wait();
        test_support::WriteText(socket, "not a processing server\n");
        test_support::ReadToEnd(socket);
    });

    StartDocumentationJob(JobLocation::Remote, &window, OutputMode::Pdf, workspace.DocumentFile("paper.tex"),
                          std::make_unique<DeletionSignallingCallback>(workspace.Parameters(server.Address()), record, deleted));
    started.set_value();

    ASSERT_TRUE(window.WaitForNotification());
    EXPECT_EQ(deleted.get_future().wait_for(std::chrono::seconds(30)), std::future_status::ready);
    EXPECT_EQ(window.Notifications(), 1);
    EXPECT_NE(window.Thread(), std::this_thread::get_id());
    EXPECT_EQ(window.ErrorsAtNotification(), 1u);
    EXPECT_THAT(errors.Texts(), ElementsAre("Documentation system error:\nInvalid response from the server.\n"
                                            "Perhaps you are connecting to wrong server or service."));
}

TEST(JobStartTest, WithoutAWindowTheWholeJobRunsBeforeTheStartReturns)
{
    JobWorkspace workspace;
    workspace.Write("doc/paper.tex", "text\n");
    ReportedErrors errors;
    FakeServerScript script;
    script.results = {Result("paper.pdf", "%PDF-1.4\n")};
    FakeProcessingServer server(script);

    const CallbackRecord record = workspace.Run(JobLocation::Remote, OutputMode::Pdf, workspace.DocumentFile("paper.tex"),
                                                workspace.Parameters(server.Address()));

    EXPECT_TRUE(record.destroyed);
    EXPECT_EQ(workspace.Read(workspace.DocumentFile("paper.pdf")), "%PDF-1.4\n");
    EXPECT_EQ(record.logs.size(), 1u);
}
