#include "platform/command_ids.h"
#include "platform/message_box.h"
#include "platform/message_queue.h"
#include "platform/win_app.h"
#include "platform/wnd.h"
#include "platform/headless/headless_backend.h"
#include "utils/message_box.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace {

using namespace std::chrono_literals;
using platform::headless::HeadlessBackend;

constexpr UINT ProgressMessage = WM_USER + 5;
constexpr UINT FinishedMessage = WM_USER + 10;

// A window that records its messages and the thread that handled them.
class MessageWindow : public CWnd {
public:
    MessageWindow()
    {
        MapMessage(ProgressMessage, [this](WPARAM text, LPARAM pane) {
            received.push_back(std::string(reinterpret_cast<const char*>(text)) + "/" + std::to_string(pane));
            onUserInterfaceThread = platform::message_queue::IsUserInterfaceThread();
            return LRESULT{7};
        });
        MapMessage(FinishedMessage, [this](WPARAM, LPARAM) {
            received.push_back("finished");
            return LRESULT{0};
        });
    }
    std::vector<std::string> received;
    std::atomic<bool> onUserInterfaceThread = false;
};

class MessageDeliveryTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(window.Create(nullptr, 1, 0, CRect(0, 0, 100, 100))); }

    HeadlessBackend backend;
    MessageWindow window;
};

TEST_F(MessageDeliveryTest, SendMessageOnTheUserInterfaceThreadIsHandledAtOnce)
{
    const std::string text = "Connecting...";
    EXPECT_EQ(window.SendMessage(ProgressMessage, reinterpret_cast<WPARAM>(text.c_str()), 1), 7);
    EXPECT_EQ(window.received, std::vector<std::string>{"Connecting.../1"});
}

TEST_F(MessageDeliveryTest, SendMessageFromAWorkerWaitsUntilTheUserInterfaceThreadHandledIt)
{
    const std::string text = "Sending files";
    std::atomic<bool> returned = false;
    std::atomic<LRESULT> result = 0;
    std::thread worker([&] {
        result = window.SendMessage(ProgressMessage, reinterpret_cast<WPARAM>(text.c_str()), 1);
        returned = true;
    });
    // Nothing is handled while the user-interface thread does not take its messages.
    std::this_thread::sleep_for(50ms);
    EXPECT_FALSE(returned);
    EXPECT_TRUE(window.received.empty());

    EXPECT_TRUE(backend.PumpUntil([&] { return returned.load(); }, 5s));
    worker.join();
    EXPECT_EQ(result, 7);
    EXPECT_EQ(window.received, std::vector<std::string>{"Sending files/1"});
    EXPECT_TRUE(window.onUserInterfaceThread);
}

TEST_F(MessageDeliveryTest, MessagesFromAWorkerArriveInOrder)
{
    std::thread worker([&] {
        const std::string first = "first";
        window.SendMessage(ProgressMessage, reinterpret_cast<WPARAM>(first.c_str()), 1);
        window.PostMessage(FinishedMessage);
    });
    EXPECT_TRUE(backend.PumpUntil([&] { return window.received.size() == 2; }, 5s));
    worker.join();
    EXPECT_EQ(window.received, (std::vector<std::string>{"first/1", "finished"}));
}

TEST_F(MessageDeliveryTest, PostMessageWaitsForTheQueueAndIsDroppedForADestroyedWindow)
{
    window.PostMessage(FinishedMessage);
    EXPECT_TRUE(window.received.empty());
    EXPECT_EQ(backend.PumpMessages(), 1);
    EXPECT_EQ(window.received, std::vector<std::string>{"finished"});

    window.PostMessage(FinishedMessage);
    const HWND handle = window.GetSafeHwnd();
    window.DestroyWindow();
    EXPECT_EQ(CWnd::FromHandle(handle), nullptr);
    backend.PumpMessages();
    EXPECT_EQ(window.received.size(), 1u);
    EXPECT_EQ(SendMessage(handle, FinishedMessage), 0);
}

TEST_F(MessageDeliveryTest, AWorkerSendingToAWindowDestroyedMeanwhileGetsZeroAndGoesOn)
{
    std::atomic<LRESULT> result = -1;
    const std::string text = "late";
    std::thread worker([&] { result = window.SendMessage(ProgressMessage, reinterpret_cast<WPARAM>(text.c_str()), 1); });
    while (true) {
        std::this_thread::sleep_for(5ms);
        if (result != -1)
            break;
        window.DestroyWindow();
        backend.PumpMessages();
    }
    worker.join();
    EXPECT_TRUE(result == 0 || result == 7);
}

TEST_F(MessageDeliveryTest, MessageBoxesOfAWorkerAreShownByTheUserInterfaceThread)
{
    CWinApp application("Quillwright");
    backend.AnswerMessageBox(IDYES);
    std::atomic<int> answer = 0;
    std::thread worker([&] { answer = utils::ShowMessageBox("Documentation system error:\nrefused", MB_YESNO); });
    std::this_thread::sleep_for(30ms);
    EXPECT_TRUE(backend.MessageBoxes().empty());
    EXPECT_TRUE(backend.PumpUntil([&] { return answer != 0; }, 5s));
    worker.join();
    EXPECT_EQ(answer, IDYES);
    ASSERT_EQ(backend.MessageBoxes().size(), 1u);
    EXPECT_EQ(backend.MessageBoxes()[0].text, "Documentation system error:\nrefused");
    EXPECT_EQ(backend.MessageBoxes()[0].caption, "Quillwright");
}

TEST_F(MessageDeliveryTest, ATaskThatThrowsStillReleasesItsSenderAndKeepsTheRestQueued)
{
    window.PostMessage(FinishedMessage);
    std::atomic<bool> released = false;
    std::thread worker([&] {
        platform::message_queue::Send([] { throw std::runtime_error("handler failed"); });
        released = true;
    });
    while (!released) {
        try {
            backend.PumpMessages();
        } catch (const std::runtime_error& error) {
            EXPECT_STREQ(error.what(), "handler failed");
        }
        std::this_thread::sleep_for(1ms);
    }
    worker.join();
    backend.PumpMessages();
    EXPECT_EQ(window.received, std::vector<std::string>{"finished"});
}

}  // namespace

namespace {

TEST_F(MessageDeliveryTest, TheEventLoopRunsWorkersMessagesUntilItIsAskedToQuit)
{
    std::thread worker([&] {
        const std::string text = "Receiving files";
        window.SendMessage(ProgressMessage, reinterpret_cast<WPARAM>(text.c_str()), 1);
        platform::message_queue::Post([&] { backend.QuitEventLoop(3); });
    });
    EXPECT_EQ(backend.RunEventLoop(), 3);
    worker.join();
    EXPECT_EQ(window.received, std::vector<std::string>{"Receiving files/1"});
}

}  // namespace

namespace {

TEST(MessageQueueWithoutBackend, AWorkerIsToldInsteadOfWaitingForever)
{
    std::string failure;
    {
        HeadlessBackend backend;
    }
    std::thread worker([&] {
        try {
            platform::message_queue::Send([] {});
        } catch (const std::logic_error& error) {
            failure = error.what();
        }
    });
    worker.join();
    EXPECT_EQ(failure, "no user-interface thread runs: the message cannot be delivered");
}

}  // namespace
