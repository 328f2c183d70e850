// Clients that break the rules, against a real server: each is refused or contained, the server
// stays up, and nothing outside the job directory or the web root is read or written.
#include "raw_client.h"
#include "server_process.h"

#include <unistd.h>

#include <gtest/gtest.h>

#include <signal.h>

#include <chrono>
#include <fstream>
#include <thread>

namespace torvel_test {
namespace {

using namespace std::chrono_literals;

const std::string kSimpleDocument = "\\documentclass{article}\n\\begin{document}\nHello.\n\\end{document}\n";

std::string Contents(const std::filesystem::path& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(file)), {});
}

class HostileClientTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { s_server = new ServerProcess({"--time-limit", "4", "--idle-timeout", "2"}); }
    static void TearDownTestSuite()
    {
        delete s_server;
        s_server = nullptr;
    }

    // After every case the server still answers a correct job and has removed every job directory.
    void TearDown() override
    {
        ASSERT_TRUE(s_server->Running()) << s_server->Log();
        const JobReply reply = RunJob(s_server->DocumentationPort(), "tex2ps", {{"ok.tex", kSimpleDocument}},
                                      StandardRequests("tex2ps", "ok.tex"));
        EXPECT_EQ(reply.secondPhase, "commit") << s_server->Log();
        EXPECT_TRUE(reply.files.contains("ok.ps"));
        EXPECT_TRUE(JobDirectoriesGone());
    }

    // A job's directory goes right after its last byte was sent; give the server a moment.
    static bool JobDirectoriesGone()
    {
        for (int attempt = 0; attempt < 100; ++attempt) {
            if (LeftoverJobDirectories(s_server->WorkDirectory()).empty())
                return true;
            std::this_thread::sleep_for(20ms);
        }
        return false;
    }

    // Sends a script and returns the server's answer to it.
    std::string FirstReply(const std::string& script, int port = 0)
    {
        RawClient client(port == 0 ? s_server->DocumentationPort() : port);
        EXPECT_TRUE(client.ReadLine().starts_with("TORVEL server "));
        client.Send(script);
        return client.ReadLine();
    }

    static ServerProcess* s_server;
};

ServerProcess* HostileClientTest::s_server = nullptr;

TEST_F(HostileClientTest, RefusesUploadNamesThatLeaveTheJobDirectory)
{
    const std::string withNul("put a\0b.tex:5:dos\n", 18);
    for (const std::string& put : {std::string("put ../escape.tex:5:dos\n"), std::string("put sub/x.tex:5:dos\n"),
                                   std::string("put ..\\x.tex:5:dos\n"), std::string("put /tmp/x.tex:5:dos\n"), withNul,
                                   std::string("put .latex2html-init:5:dos\n"), std::string("put .latexmkrc:5:dos\n"),
                                   std::string("put latexmkrc:5:dos\n")}) {
        const std::string reply =
            FirstReply("documentation client\nservice tex2ps\n" + put + "run tex2ps x.tex\ncommit\n");
        EXPECT_TRUE(reply.starts_with("abort upload refused: file name")) << reply;
    }
    EXPECT_FALSE(std::filesystem::exists(s_server->WorkDirectory().parent_path() / "escape.tex"));
    EXPECT_FALSE(std::filesystem::exists(s_server->WorkDirectory() / "escape.tex"));
}

TEST_F(HostileClientTest, CutsOffATenMegabyteLine)
{
    RawClient client(s_server->DocumentationPort());
    client.ReadLine();
    client.Send("documentation client\nservice tex2ps\nput ");
    client.Send(std::string(10 << 20, 'a'));  // the server may stop reading before all of it arrived
    EXPECT_EQ(client.ReadLine(), "abort line longer than 8192 bytes");
}

TEST_F(HostileClientTest, TakesOnlyTheAnnouncedBytes)
{
    RawClient client(s_server->DocumentationPort());
    client.ReadLine();
    std::string script = "documentation client\nservice tex2ps\nput more.tex:" + std::to_string(kSimpleDocument.size()) + ":dos\n";
    for (const auto& line : StandardRequests("tex2ps", "more.tex"))
        script += line + "\n";
    client.Send(script + "commit\n");
    ASSERT_EQ(client.ReadLine(), "commit");
    client.Send(kSimpleDocument + "put evil.tex:3:dos\ncommit\nxyz" + std::string(100000, '%'));
    std::vector<std::string> announced;
    for (std::string line = client.ReadLine(); line != "commit" && !line.empty(); line = client.ReadLine())
        announced.push_back(line);
    ASSERT_EQ(announced.size(), 2u);
    EXPECT_TRUE(announced[0].starts_with("file more.log:"));
    EXPECT_TRUE(announced[1].starts_with("file more.ps:"));
}

TEST_F(HostileClientTest, GivesUpOnAClientThatSendsFewerBytesThanAnnounced)
{
    RawClient client(s_server->DocumentationPort());
    client.ReadLine();
    client.Send("documentation client\nservice tex2ps\nput short.tex:1000:dos\nrun tex2ps short.tex\ncommit\n");
    ASSERT_EQ(client.ReadLine(), "commit");
    client.Send("\\documentclass{article}");
    const auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(client.ReadLine(), "abort client idle for more than 2 seconds");
    EXPECT_LT(std::chrono::steady_clock::now() - started, 10s);
    EXPECT_TRUE(s_server->LogShows("result=failed: client idle for more than 2 seconds"));
}

TEST_F(HostileClientTest, RunsNoShellCommandsFromTheDocument)
{
    const auto marker = s_server->Scratch() / "shell-escape-ran";
    const std::string document = "\\documentclass{article}\n\\begin{document}\n\\immediate\\write18{touch " +
                                 marker.string() + "}\nText.\n\\end{document}\n";
    const JobReply reply = RunJob(s_server->DocumentationPort(), "tex2ps", {{"shell.tex", document}},
                                  StandardRequests("tex2ps", "shell.tex"));
    EXPECT_EQ(reply.secondPhase, "commit");
    EXPECT_FALSE(std::filesystem::exists(marker));
    EXPECT_NE(reply.files.at("shell.log").find("runsystem(touch"), std::string::npos);
    EXPECT_NE(reply.files.at("shell.log").find("disabled"), std::string::npos);
}

TEST_F(HostileClientTest, ReadsAndWritesNoFilesOutsideTheJob)
{
    const auto outside = s_server->Scratch() / "written-outside.tex";
    const std::string document = "\\documentclass{article}\n\\begin{document}\n\\input{/etc/passwd}\n"
                                 "\\newwrite\\out\\immediate\\openout\\out=" + outside.string() +
                                 "\n\\immediate\\write\\out{x}\\immediate\\closeout\\out\n"
                                 "\\immediate\\openout\\out=../up.tex\\immediate\\write\\out{x}\\immediate\\closeout\\out\n"
                                 "\\end{document}\n";
    const JobReply reply = RunJob(s_server->DocumentationPort(), "tex2ps", {{"files.tex", document}},
                                  StandardRequests("tex2ps", "files.tex"));
    ASSERT_EQ(reply.secondPhase, "commit");
    const std::string& log = reply.files.at("files.log");
    EXPECT_EQ(log.find("root:x:0:0"), std::string::npos);
    EXPECT_NE(log.find("! LaTeX Error: File `/etc/passwd.tex' not found"), std::string::npos) << log;
    EXPECT_FALSE(std::filesystem::exists(outside));
    EXPECT_FALSE(std::filesystem::exists(s_server->WorkDirectory() / "up.tex"));
    ASSERT_TRUE(JobDirectoriesGone());
    for (const auto& entry : std::filesystem::directory_iterator(s_server->WorkDirectory()))
        ADD_FAILURE() << "left in the work directory: " << entry.path();
}

TEST_F(HostileClientTest, StopsAnEndlessLoopAtTheTimeLimit)
{
    const std::string document = "\\documentclass{article}\n\\begin{document}\n\\loop\\iftrue\\repeat\n\\end{document}\n";
    // A name no other test's processes carry, to find what is left of this job.
    const std::string name = "loop" + std::to_string(::getpid()) + ".tex";
    const std::string log = name.substr(0, name.size() - 4) + ".log";
    const auto started = std::chrono::steady_clock::now();
    const JobReply reply = RunJob(s_server->DocumentationPort(), "tex2pdf", {{name, document}},
                                  StandardRequests("tex2pdf", name));
    EXPECT_LT(std::chrono::steady_clock::now() - started, 15s);
    ASSERT_EQ(reply.secondPhase, "commit");
    EXPECT_EQ(reply.announced, std::vector<std::string>{log});
    EXPECT_NE(reply.files.at(log).find("\n! torvel-server: the job needed more than its 4 seconds; latexmk was stopped."),
              std::string::npos);
    // latexmk and the LaTeX run it started are gone with the job.
    EXPECT_EQ(ProcessesNaming(name, std::chrono::seconds(3)), std::vector<std::string>{});
    EXPECT_TRUE(s_server->LogShows("service=tex2pdf files=1 bytes="));
    EXPECT_TRUE(s_server->LogShows("result=time-limit"));
}

TEST_F(HostileClientTest, RefusesLatex2htmlOptionsOutsideTheAllowList)
{
    const std::string script = "documentation client\nservice tex2html\nput p.tex:5:dos\n"
                               "run tex2html p.tex -split 0 -init_file /etc/passwd\ncommit\n";
    EXPECT_EQ(FirstReply(script), "abort latex2html option -init_file is not allowed on this server");
}

TEST_F(HostileClientTest, RefusesServicesItDoesNotOffer)
{
    EXPECT_EQ(FirstReply("documentation client\nservice pdflatex2ps\nput p.tex:5:dos\nrun pdflatex2ps p.tex\ncommit\n"),
              "abort service pdflatex2ps is not offered by this server; use tex2ps or tex2pdf");
    EXPECT_EQ(FirstReply("documentation client\nservice rm\nrun rm -rf /\ncommit\n"), "abort unknown service \"rm\"");
    EXPECT_EQ(FirstReply("client Quillwright\nservice tex2ps\nrun tex2ps p.tex\ncommit\n", s_server->MaintenancePort()),
              "abort this port offers the service maintenance only, not \"tex2ps\"");
}

class HostileMaintenanceTest : public HostileClientTest {
protected:
    void SetUp() override
    {
        std::ofstream(s_server->Scratch() / "secret.html") << "secret";
        std::filesystem::create_directories(s_server->WebRoot() / "docs");
        std::filesystem::create_symlink(s_server->Scratch(), s_server->WebRoot() / "docs/out");
        std::filesystem::create_symlink(s_server->Scratch() / "secret.html", s_server->WebRoot() / "leak.html");
    }
    void TearDown() override
    {
        std::filesystem::remove(s_server->WebRoot() / "docs/out");
        std::filesystem::remove(s_server->WebRoot() / "leak.html");
        EXPECT_EQ(Contents(s_server->Scratch() / "secret.html"), "secret");
        HostileClientTest::TearDown();
    }

    std::string Fetch(const std::string& path)
    {
        return FirstReply("client Quillwright\nservice maintenance\nrun cp " + path + " ./file\nget file:dos\ncommit\n",
                          s_server->MaintenancePort());
    }
    std::string Store(const std::string& path)
    {
        return FirstReply("client Quillwright\nservice maintenance\nput file:5:dos\nrun cp file " + path + "\ncommit\n",
                          s_server->MaintenancePort());
    }
};

TEST_F(HostileMaintenanceTest, RefusesPathsOutsideTheWebRoot)
{
    for (const std::string path : {"/etc/passwd", "/var/www/html/../secret.html", "/var/www/html/docs/../../secret.html",
                                   "/var/www/html/docs/out/secret.html", "/var/www/html/leak.html"}) {
        EXPECT_TRUE(Fetch(path).starts_with("abort path ")) << path;
        EXPECT_TRUE(Store(path).starts_with("abort path ")) << path;
    }
    EXPECT_EQ(Fetch("/var/www/html/../secret.html"), "abort path \"/var/www/html/../secret.html\" leads outside the web root");
}

}  // namespace
}  // namespace torvel_test
