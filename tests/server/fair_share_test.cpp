// Fair shares of the job slots: one client's queue does not hold back another client's job.
#include "job_slots.h"
#include "raw_client.h"
#include "server_process.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <future>
#include <mutex>
#include <regex>
#include <thread>

namespace torvel_test {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// Takes a slot on a thread of its own and holds it until released.
class SlotHolder {
public:
    SlotHolder(torvel::JobSlots& slots, const std::string& client)
        : m_thread([this, &slots, client] {
              const auto slot = slots.Acquire(client);
              m_acquired.set_value();
              m_release.get_future().wait();
          }),
          m_acquiredFuture(m_acquired.get_future())
    {
    }
    ~SlotHolder()
    {
        Release();
        m_thread.join();
    }
    bool Holds(std::chrono::milliseconds wait) { return m_acquiredFuture.wait_for(wait) == std::future_status::ready; }
    void Release()
    {
        if (!m_released)
            m_release.set_value();
        m_released = true;
    }

private:
    std::promise<void> m_acquired;
    std::promise<void> m_release;
    bool m_released = false;
    std::thread m_thread;
    std::future<void> m_acquiredFuture;
};

TEST(JobSlots, GivesASlotToTheOldestWaiterBelowItsShare)
{
    torvel::JobSlots slots(2, 1);
    SlotHolder firstOfA(slots, "a");
    ASSERT_TRUE(firstOfA.Holds(2s));
    SlotHolder secondOfA(slots, "a");
    EXPECT_FALSE(secondOfA.Holds(200ms));  // a free slot, but a is at its share
    SlotHolder firstOfB(slots, "b");
    EXPECT_TRUE(firstOfB.Holds(2s));
    SlotHolder secondOfB(slots, "b");
    std::this_thread::sleep_for(200ms);  // b queues before c
    SlotHolder firstOfC(slots, "c");
    EXPECT_FALSE(firstOfC.Holds(200ms));  // both slots taken
    firstOfA.Release();
    EXPECT_TRUE(secondOfA.Holds(2s));  // waiting longest and below its share again
    EXPECT_FALSE(secondOfB.Holds(200ms));
    EXPECT_FALSE(firstOfC.Holds(0ms));
    firstOfB.Release();
    EXPECT_TRUE(secondOfB.Holds(2s));  // came before c
    EXPECT_FALSE(firstOfC.Holds(200ms));
    secondOfA.Release();
    EXPECT_TRUE(firstOfC.Holds(2s));
}

const std::string kEndlessLoop = "\\documentclass{article}\n\\begin{document}\n\\loop\\iftrue\\repeat\n\\end{document}\n";
const std::string kQuick = "\\documentclass{article}\n\\begin{document}\nQuick.\n\\end{document}\n";

TEST(FairShares, AnotherClientsJobFinishesBeforeTheThirdOfOneClientsQueueStarts)
{
    ServerProcess server({"--jobs", "2", "--jobs-per-client", "1", "--time-limit", "2"});
    constexpr int kSlowJobs = 6;
    std::mutex mutex;
    std::vector<Clock::time_point> started;  // when each slow job got its slot
    std::vector<std::thread> slowJobs;
    for (int index = 0; index < kSlowJobs; ++index) {
        slowJobs.emplace_back([&, index] {
            const std::string name = "loop" + std::to_string(index) + ".tex";
            const std::vector<UploadFile> uploads = {{name, kEndlessLoop}};
            RawClient client(server.DocumentationPort(), {.source = "127.0.0.1"});
            JobReply reply;
            reply.greeting = client.ReadLine();
            client.Send(JobScript("tex2ps", uploads, StandardRequests("tex2ps", name)));
            reply.firstPhase = client.ReadLine();  // "commit" once the job has its slot
            {
                const std::lock_guard lock(mutex);
                started.push_back(Clock::now());
            }
            FinishJob(client, uploads, reply);
            EXPECT_EQ(reply.secondPhase, "commit") << name;
        });
    }
    for (int attempt = 0; attempt < 500; ++attempt) {
        if (const std::lock_guard lock(mutex); !started.empty())
            break;
        std::this_thread::sleep_for(10ms);
    }
    std::this_thread::sleep_for(300ms);  // the other slow jobs are queued by now
    const JobReply quick = RunJob(server.DocumentationPort(), "tex2ps", {{"quick.tex", kQuick}},
                                  StandardRequests("tex2ps", "quick.tex"), {.source = "127.0.0.2"});
    const auto quickFinished = Clock::now();
    for (auto& job : slowJobs)
        job.join();
    EXPECT_EQ(quick.secondPhase, "commit");
    EXPECT_TRUE(quick.files.contains("quick.ps"));
    ASSERT_EQ(started.size(), static_cast<std::size_t>(kSlowJobs));
    std::sort(started.begin(), started.end());
    EXPECT_LT(quickFinished, started[2]);
    EXPECT_GT(started[5] - started[0], 8s);  // one at a time, two seconds each

    // The wait shows in each job's log line: the last slow job waited for the five before it.
    const std::regex line(R"(job client=127\.0\.0\.(\d):\d+ service=tex2ps .* waited=(\d+\.\d+) result=)");
    std::string log = server.Log();
    for (int attempt = 0; attempt < 250; ++attempt, log = server.Log()) {
        if (std::distance(std::sregex_iterator(log.begin(), log.end(), line), std::sregex_iterator()) == kSlowJobs + 1)
            break;
        std::this_thread::sleep_for(20ms);
    }
    double longestSlowWait = 0;
    double quickWait = -1;
    for (auto match = std::sregex_iterator(log.begin(), log.end(), line); match != std::sregex_iterator(); ++match) {
        const double waited = std::stod((*match)[2]);
        if ((*match)[1] == "1")
            longestSlowWait = std::max(longestSlowWait, waited);
        else
            quickWait = waited;
    }
    EXPECT_GT(longestSlowWait, 8.0) << log;
    EXPECT_GE(quickWait, 0.0);
    EXPECT_LT(quickWait, 1.0);
}

}  // namespace
}  // namespace torvel_test
