#include "job_directory.h"
#include "sandbox.h"
#include "scratch_directory.h"
#include "tool_runner.h"

#include <gtest/gtest.h>


#include <fstream>
#include <thread>

namespace torvel {
namespace {

using namespace std::chrono_literals;

// Gone, or a zombie waiting for init to collect it.
bool ProcessGone(int processId)
{
    std::ifstream stat("/proc/" + std::to_string(processId) + "/stat");
    std::string id, name, state;
    return !(stat >> id >> name >> state) || state == "Z";
}

// Runs the programs directly: these cases are about limits and process groups, not the sandbox.
class ToolRunnerTest : public ::testing::Test {
protected:
    ToolResult Run(const std::vector<std::string>& command, std::chrono::milliseconds time, std::uint64_t output = 1 << 20)
    {
        ToolRunner runner(m_sandbox, m_job.Paths(), std::chrono::steady_clock::now() + time, output);
        return runner.Run(command, m_job.Root() / "transcript.txt");
    }

    torvel_test::ScratchDirectory m_scratch;
    JobDirectory m_job{m_scratch.Path()};
    Sandbox m_sandbox{SandboxMode::None};
};

TEST_F(ToolRunnerTest, ReportsExitStatusAndKeepsTheOutput)
{
    const ToolResult result = Run({"perl", "-e", "print qq(hello\\n); print STDERR qq(warn\\n); exit 3"}, 10s);
    EXPECT_EQ(result.outcome, ToolOutcome::Finished);
    EXPECT_EQ(result.exitStatus, 3);
    std::ifstream transcript(m_job.Root() / "transcript.txt");
    std::string text((std::istreambuf_iterator<char>(transcript)), {});
    EXPECT_NE(text.find("hello"), std::string::npos);
    EXPECT_NE(text.find("warn"), std::string::npos);
}

TEST_F(ToolRunnerTest, RunsInTheWorkDirectoryWithParanoidTexSettings)
{
    const ToolResult result = Run({"perl", "-e", "open F, '>', 'here' or die; print F qq($ENV{openin_any} $ENV{shell_escape})"}, 10s);
    ASSERT_TRUE(result.Succeeded());
    std::ifstream written(m_job.Work() / "here");
    std::string text((std::istreambuf_iterator<char>(written)), {});
    EXPECT_EQ(text, "p f");
}

TEST_F(ToolRunnerTest, KillsTheWholeProcessGroupAtTheTimeLimit)
{
    // The child writes the pid of a grandchild that would outlive a kill of the child alone.
    const auto started = std::chrono::steady_clock::now();
    const ToolResult result = Run({"perl", "-e",
                                   "if (my $p = fork) { open F, '>', 'grandchild'; print F $p; close F; sleep 60 } "
                                   "else { sleep 60 }"},
                                  1500ms);
    EXPECT_EQ(result.outcome, ToolOutcome::TimeLimit);
    EXPECT_LT(std::chrono::steady_clock::now() - started, 5s);
    std::ifstream file(m_job.Work() / "grandchild");
    int grandchild = 0;
    ASSERT_TRUE(file >> grandchild);
    std::this_thread::sleep_for(100ms);
    EXPECT_TRUE(ProcessGone(grandchild));
}

TEST_F(ToolRunnerTest, StopsAToolThatWritesTooMuch)
{
    const ToolResult result = Run({"perl", "-e", "open F, '>', 'big'; print F 'x' x 100000 for 1..100; close F; sleep 1"}, 20s, 1 << 20);
    EXPECT_EQ(result.outcome, ToolOutcome::OutputLimit);
    EXPECT_LE(std::filesystem::file_size(m_job.Work() / "big"), 1u << 20);
}

TEST_F(ToolRunnerTest, DoesNotStartAfterTheDeadline)
{
    EXPECT_EQ(Run({"true"}, -1ms).outcome, ToolOutcome::TimeLimit);
}

TEST(JobDirectory, IsRemovedWithEverythingInIt)
{
    torvel_test::ScratchDirectory scratch;
    std::filesystem::path root;
    {
        JobDirectory job(scratch.Path());
        root = job.Root();
        std::filesystem::create_directories(job.Work() / "sub");
        std::ofstream(job.Work() / "sub/file") << "x";
        std::filesystem::permissions(job.Work() / "sub", std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    }
    EXPECT_FALSE(std::filesystem::exists(root));
}

}  // namespace
}  // namespace torvel
