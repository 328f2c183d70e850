#include "job_directory.h"
#include "sandbox.h"
#include "scratch_directory.h"
#include "tool_runner.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>

namespace torvel {
namespace {

// What a program inside the sandbox can see and do, asked from inside. Its argument is the port of
// a server listening on the host's loopback interface.
const char* const kProbe =
    "use IO::Socket::INET;"
    "print -e '/etc/passwd' ? 'passwd-visible ' : 'passwd-hidden ';"
    "print -e '/root' || -e '/home' ? 'homes-visible ' : 'homes-hidden ';"
    "print open(U, '>/usr/probe') ? 'usr-writable ' : 'usr-read-only ';"
    "print -r '/usr/share/texlive/texmf-dist/tex/latex/base/article.cls' ? 'tex-readable ' : 'tex-missing ';"
    "print IO::Socket::INET->new(PeerAddr => \"127.0.0.1:$ARGV[0]\", Timeout => 2) ? 'host-network ' : 'no-network ';"
    "print open(W, '>made-inside') ? 'work-writable ' : 'work-read-only ';"
    "print open(T, '>/tmp/scratch') ? 'tmp-writable ' : 'tmp-read-only ';"
    "print -e 'uploaded.tex' ? 'uploads-visible' : 'uploads-missing';";

class SandboxTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        try {
            m_sandbox = std::make_unique<Sandbox>(SandboxMode::Bubblewrap);
            m_sandbox->CheckUsable(m_scratch.Path());
        } catch (const std::exception& reason) {
            GTEST_SKIP() << "bubblewrap cannot build a sandbox here: " << reason.what();
        }
    }

    torvel_test::ScratchDirectory m_scratch;
    std::unique_ptr<Sandbox> m_sandbox;
};

TEST_F(SandboxTest, ShowsTheTexInstallationAndTheJobOnly)
{
    const JobDirectory job(m_scratch.Path());
    std::ofstream(job.Work() / "uploaded.tex") << "x";
    ToolRunner runner(*m_sandbox, job.Paths(), std::chrono::steady_clock::now() + std::chrono::seconds(20), 1 << 20);
    const int listener = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(::listen(listener, 1), 0);
    ::getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length);
    const ToolResult result =
        runner.Run({"perl", "-e", kProbe, std::to_string(ntohs(address.sin_port))}, job.Paths().transcript);
    ::close(listener);
    ASSERT_TRUE(result.Succeeded());
    std::ifstream transcript(job.Paths().transcript);
    const std::string answer((std::istreambuf_iterator<char>(transcript)), {});
    EXPECT_EQ(answer, "passwd-hidden homes-hidden usr-read-only tex-readable no-network work-writable tmp-writable "
                      "uploads-visible");
    EXPECT_TRUE(std::filesystem::exists(job.Work() / "made-inside"));
    EXPECT_TRUE(std::filesystem::exists(job.Temporary() / "scratch"));
    EXPECT_FALSE(std::filesystem::exists("/usr/probe"));
}

TEST(SandboxEnvironment, AsksTexForParanoidFileAccessAndNoShellEscape)
{
    torvel_test::ScratchDirectory scratch;
    const JobDirectory job(scratch.Path());
    const auto environment = Sandbox(SandboxMode::None).Environment(job.Paths());
    for (const std::string setting : {"openin_any=p", "openout_any=p", "shell_escape=f"})
        EXPECT_NE(std::find(environment.begin(), environment.end(), setting), environment.end()) << setting;
}

}  // namespace
}  // namespace torvel
