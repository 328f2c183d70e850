// The dialogues as a well-behaved client speaks them, against a real server.
#include "raw_client.h"
#include "server_context.h"
#include "server_process.h"

#include <unistd.h>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <optional>
#include <thread>

extern char** environ;

namespace torvel_test {
namespace {

using namespace std::chrono_literals;

const std::string kFigure = "%!PS-Adobe-3.0 EPSF-3.0\r\n%%BoundingBox: 0 0 60 40\r\n"
                            "newpath 5 5 moveto 55 5 lineto 30 35 lineto closepath fill\r\nshowpage\r\n%%EOF\r\n";

const std::string kArticle = "\\documentclass{article}\r\n\\usepackage{graphicx}\r\n\\begin{document}\r\n"
                             "\\section{One}\\label{one}\r\nSee section~\\ref{one}: $e^{i\\pi}+1=0$.\r\n"
                             "\\includegraphics{fig.eps}\r\n\\newpage\r\nSecond page.\r\n\\end{document}\r\n";

const std::string kBroken = "\\documentclass{article}\n\\begin{document}\nText \\undefinedcommand here.\n\\end{document}\n";

std::string Contents(const std::filesystem::path& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(file)), {});
}

class ServerDialogueTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { s_server = new ServerProcess(); }
    static void TearDownTestSuite()
    {
        delete s_server;
        s_server = nullptr;
    }
    static JobReply Run(const std::string& service, const std::vector<UploadFile>& uploads, const std::string& options = "")
    {
        return RunJob(s_server->DocumentationPort(), service, uploads, StandardRequests(service, uploads.front().name, options));
    }

    static ServerProcess* s_server;
};

ServerProcess* ServerDialogueTest::s_server = nullptr;

TEST_F(ServerDialogueTest, MakesPostScriptFromTextUploadsWithLineFeeds)
{
    const JobReply reply = Run("tex2ps", {{"paper.tex", kArticle}, {"fig.eps", kFigure}});
    EXPECT_EQ(reply.greeting + "\n", torvel::Greeting());
    EXPECT_TRUE(reply.greeting.starts_with("TORVEL server "));
    EXPECT_EQ(reply.firstPhase, "commit");
    ASSERT_EQ(reply.secondPhase, "commit");
    EXPECT_EQ(reply.announced, (std::vector<std::string>{"paper.log", "paper.ps"}));
    const std::string& postScript = reply.files.at("paper.ps");
    EXPECT_TRUE(postScript.starts_with("%!PS-Adobe"));
    EXPECT_NE(postScript.find("%%Pages: 2"), std::string::npos);
    // The cross-reference was resolved by a second LaTeX run.
    EXPECT_EQ(reply.files.at("paper.log").find("undefined"), std::string::npos);
    EXPECT_EQ(reply.files.at("paper.log").find('\r'), std::string::npos);
}

TEST_F(ServerDialogueTest, MakesPdfWithTheEpsFigure)
{
    const JobReply reply = Run("tex2pdf", {{"paper.tex", kArticle}, {"fig.eps", kFigure}});
    ASSERT_EQ(reply.secondPhase, "commit");
    EXPECT_EQ(reply.announced, (std::vector<std::string>{"paper.log", "paper.pdf"}));
    const std::string& pdf = reply.files.at("paper.pdf");
    EXPECT_TRUE(pdf.starts_with("%PDF-"));
    EXPECT_NE(pdf.find("/Count 2"), std::string::npos);
}

TEST_F(ServerDialogueTest, KeepsBinaryUploadsByteForByte)
{
    const std::string bytes("\r\n\0\x01\xff\r", 6);
    const std::string document = "\\documentclass{article}\n\\begin{document}\n"
                                 "\\newread\\r\\openin\\r=data.bin \\read\\r to\\x \\closein\\r x\n\\end{document}\n";
    const JobReply reply = Run("tex2ps", {{"bin.tex", document}, {"data.bin", bytes, ""}});
    ASSERT_EQ(reply.secondPhase, "commit");
    ASSERT_TRUE(reply.files.contains("data.bin"));
    EXPECT_EQ(reply.files.at("data.bin"), bytes);
}

TEST_F(ServerDialogueTest, MakesHtmlPagesAndImages)
{
    const JobReply reply = Run("tex2html", {{"paper.tex", kArticle}, {"fig.eps", kFigure}},
                               "-no_navigation -split 0 -link 0 -math_scale_factor 1.29 -figure_scale_factor 1.29");
    ASSERT_EQ(reply.secondPhase, "commit");
    EXPECT_EQ(reply.announced.front(), "paper.log");
    EXPECT_TRUE(reply.files.contains("index.html"));
    EXPECT_TRUE(reply.files.contains("paper.html"));
    const auto images = std::count_if(reply.announced.begin(), reply.announced.end(),
                                      [](const std::string& name) { return name.ends_with(".png"); });
    EXPECT_GE(images, 2);
    EXPECT_NE(reply.files.at("index.html").find("<IMG"), std::string::npos);
    for (const auto& [name, data] : reply.files) {
        if (name.ends_with(".png")) {
            EXPECT_TRUE(data.starts_with("\x89PNG")) << name;
        }
    }
}

TEST_F(ServerDialogueTest, ReturnsTheLogOfAFailedLatexRun)
{
    const JobReply reply = Run("tex2pdf", {{"broken.tex", kBroken}});
    ASSERT_EQ(reply.secondPhase, "commit");
    EXPECT_EQ(reply.announced.front(), "broken.log");
    EXPECT_NE(reply.files.at("broken.log").find("\n! Undefined control sequence."), std::string::npos);
    // LaTeX went on in nonstop mode, so there still is output to look at.
    EXPECT_TRUE(reply.files.contains("broken.pdf"));
    EXPECT_TRUE(s_server->LogShows("service=tex2pdf files=1"));
    EXPECT_TRUE(s_server->LogShows("result=latex-errors"));
}

TEST_F(ServerDialogueTest, MaintenanceFetchesAndStoresPages)
{
    std::filesystem::create_directories(s_server->WebRoot() / "dir");
    std::ofstream(s_server->WebRoot() / "dir/index.html") << "<p>home</p>\n";
    {
        RawClient client(s_server->MaintenancePort());
        EXPECT_TRUE(client.ReadLine().starts_with("TORVEL server "));
        client.Send("client Quillwright\nservice maintenance\nrun cp /var/www/html/dir/index.html ./file\nget file:dos\ncommit\n");
        EXPECT_EQ(client.ReadLine(), "commit");
        EXPECT_EQ(client.ReadLine(), "file file:12");
        EXPECT_EQ(client.ReadLine(), "commit");
        EXPECT_EQ(client.ReadBytes(12), "<p>home</p>\n");
    }
    {
        RawClient client(s_server->MaintenancePort());
        client.ReadLine();
        client.Send("client Quillwright\nservice maintenance\nput file:14:dos\nrun cp file /var/www/html/dir/new.html\ncommit\n");
        EXPECT_EQ(client.ReadLine(), "commit");
        client.Send("<p>new</p>\r\n\r\n");
        EXPECT_EQ(client.ReadLine(), "commit");
    }
    EXPECT_EQ(Contents(s_server->WebRoot() / "dir/new.html"), "<p>new</p>\n\n");
}

TEST_F(ServerDialogueTest, MaintenanceAnswersAMissingPageWithCommitOnly)
{
    RawClient client(s_server->MaintenancePort());
    client.ReadLine();
    client.Send("client Quillwright\nservice maintenance\nrun cp /var/www/html/none.html ./file\nget file:dos\ncommit\n");
    EXPECT_EQ(client.ReadLine(), "commit");
    EXPECT_EQ(client.ReadLine(), "commit");
    EXPECT_EQ(client.ReadLine(), "");
}

TEST(ServerLifetime, FinishesRunningJobsOnSigterm)
{
    ServerProcess server;
    std::optional<JobReply> reply;
    std::thread job([&] {
        reply = RunJob(server.DocumentationPort(), "tex2pdf", {{"paper.tex", kArticle}, {"fig.eps", kFigure}},
                       StandardRequests("tex2pdf", "paper.tex"));
    });
    for (int attempt = 0; attempt < 200 && LeftoverJobDirectories(server.WorkDirectory()).empty(); ++attempt)
        std::this_thread::sleep_for(5ms);
    EXPECT_EQ(server.Stop(), 0);
    job.join();
    ASSERT_TRUE(reply.has_value());
    EXPECT_EQ(reply->secondPhase, "commit");
    EXPECT_TRUE(reply->files.contains("paper.pdf"));
    EXPECT_NE(server.Log().find("stopping: finishing 1 connection(s)"), std::string::npos) << server.Log();
    EXPECT_TRUE(LeftoverJobDirectories(server.WorkDirectory()).empty());
}

TEST(ServerLifetime, RefusesToStartWithoutBubblewrapUnlessTold)
{
    const std::string program = ServerProgram().string();
    const char* arguments[] = {program.c_str(), "--port", "0", "--maintenance-port", "0", "--webroot", "/", nullptr};
    const char* environment[] = {"PATH=/nonexistent", nullptr};
    posix_spawn_file_actions_t actions;
    ::posix_spawn_file_actions_init(&actions);
    ::posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t processId = 0;
    ASSERT_EQ(::posix_spawn(&processId, program.c_str(), &actions, nullptr, const_cast<char**>(arguments),
                            const_cast<char**>(environment)),
              0);
    ::posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    ::waitpid(processId, &status, 0);
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 1);
}

}  // namespace
}  // namespace torvel_test

namespace torvel_test {
namespace {

// Where bubblewrap is not wanted the same chain runs directly, with the same limits and results.
TEST(ServerWithoutSandbox, RunsTheSameToolChain)
{
    ServerProcess server({"--no-sandbox", "--time-limit", "3"});
    EXPECT_NE(server.Log().find("sandbox none"), std::string::npos);
    const JobReply reply = RunJob(server.DocumentationPort(), "tex2pdf", {{"paper.tex", kArticle}, {"fig.eps", kFigure}},
                                  StandardRequests("tex2pdf", "paper.tex"));
    ASSERT_EQ(reply.secondPhase, "commit");
    EXPECT_EQ(reply.announced, (std::vector<std::string>{"paper.log", "paper.pdf"}));
    const std::string loop = "\\documentclass{article}\n\\begin{document}\n\\loop\\iftrue\\repeat\n\\end{document}\n";
    const std::string name = "endless" + std::to_string(::getpid()) + ".tex";
    const JobReply stopped = RunJob(server.DocumentationPort(), "tex2ps", {{name, loop}}, StandardRequests("tex2ps", name));
    EXPECT_NE(stopped.files.at(name.substr(0, name.size() - 4) + ".log")
                  .find("! torvel-server: the job needed more than its 3 seconds; latexmk was stopped."),
              std::string::npos);
    EXPECT_EQ(ProcessesNaming(name, std::chrono::seconds(3)), std::vector<std::string>{});
}

}  // namespace
}  // namespace torvel_test

namespace torvel_test {
namespace {

TEST(ServerLog, NamesAConnectionThatAskedForNothing)
{
    ServerProcess server;
    {
        RawClient client(server.DocumentationPort());
        EXPECT_TRUE(client.ReadLine().starts_with("TORVEL server "));
    }
    EXPECT_TRUE(server.LogShows("service=- files=0 bytes=0"));
    EXPECT_TRUE(server.LogShows("result=no-request")) << server.Log();
}

}  // namespace
}  // namespace torvel_test

namespace torvel_test {
namespace {

const std::string kFormula = "\\documentclass{article}\n\\begin{document}\n\\[ \\int_0^1 x^2\\,dx = \\frac{1}{3} \\]\n\\end{document}\n";

std::uint32_t PngWidth(const std::string& png)
{
    const auto byte = [&](std::size_t index) { return static_cast<std::uint32_t>(static_cast<unsigned char>(png.at(index))); };
    return byte(16) << 24 | byte(17) << 16 | byte(18) << 8 | byte(19);
}

class HtmlConversionTest : public ::testing::Test {
protected:
    JobReply Convert(const std::string& document, const std::string& options)
    {
        return RunJob(m_server.DocumentationPort(), "tex2html", {{"formula.tex", document}},
                      StandardRequests("tex2html", "formula.tex", options));
    }
    ServerProcess m_server;
};

TEST_F(HtmlConversionTest, ScalesFormulaImagesByTheClientsFactor)
{
    const JobReply small = Convert(kFormula, "-split 0 -math_scale_factor 1.0");
    const JobReply large = Convert(kFormula, "-split 0 -math_scale_factor 2.5");
    ASSERT_EQ(small.secondPhase, "commit");
    ASSERT_EQ(large.secondPhase, "commit");
    ASSERT_TRUE(small.files.contains("img1.png") && large.files.contains("img1.png"));
    const double ratio = static_cast<double>(PngWidth(large.files.at("img1.png"))) / PngWidth(small.files.at("img1.png"));
    EXPECT_GT(ratio, 2.0);
    EXPECT_LT(ratio, 3.0);
}

TEST_F(HtmlConversionTest, ReportsTheLatexErrorsOfTheConverterInTheLog)
{
    const std::string broken = "\\documentclass{article}\n\\begin{document}\nText \\[ \\undefinedmacro{x} + 1 \\]\n\\end{document}\n";
    const JobReply reply = Convert(broken, "-split 0");
    ASSERT_EQ(reply.secondPhase, "commit");
    const std::string& log = reply.files.at("formula.log");
    EXPECT_NE(log.find("\n! torvel-server: latex2html met LaTeX errors while making the pages:\n!"), std::string::npos)
        << log.substr(log.size() > 3000 ? log.size() - 3000 : 0);
    EXPECT_TRUE(m_server.LogShows("service=tex2html files=1"));
    EXPECT_TRUE(m_server.LogShows("result=latex-errors"));
}

}  // namespace
}  // namespace torvel_test
