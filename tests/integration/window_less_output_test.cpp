// The editor's window-less mode against a real torvel-server, on the documents of examples/.
#include "client_run.h"
#include "server/raw_client.h"
#include "server/server_process.h"

#include <gtest/gtest.h>

#include <fstream>
#include <memory>

namespace torvel_test {
namespace {

class WindowLessOutputTest : public ::testing::Test {
protected:
    ClientRun Output(const std::string& kind, const std::string& document, const std::vector<std::string>& extra = {})
    {
        std::vector<std::string> arguments = {"--output", kind, "--address",
                                              "127.0.0.1:" + std::to_string(m_server.DocumentationPort())};
        arguments.insert(arguments.end(), extra.begin(), extra.end());
        arguments.push_back(document);
        return RunClient(arguments, m_documents.Directory());
    }
    std::filesystem::path Path(const std::string& relative) const { return m_documents.Directory() / relative; }
    std::string Read(const std::string& relative) const { return m_documents.Read(relative); }

    ServerProcess m_server;
    ExampleDocuments m_documents;
};

TEST_F(WindowLessOutputTest, MakesPostScriptOfTheSampleArticle)
{
    const ClientRun run = Output("ps", "paper.tex");
    ASSERT_EQ(run.exitStatus, 0) << run.output << m_server.Log();
    const std::string postScript = Read("paper.ps");
    EXPECT_TRUE(postScript.starts_with("%!PS-Adobe"));
    EXPECT_NE(postScript.find("%%Pages: 3"), std::string::npos);
    // Chapters, figure and the printed-only page made it; the web-only section did not.
    const std::string log = Read("paper.log");
    EXPECT_NE(log.find("intro.tex"), std::string::npos);
    EXPECT_NE(log.find("<decay.eps>"), std::string::npos);
    EXPECT_EQ(log.find("\n!"), std::string::npos) << log;
    EXPECT_TRUE(m_server.LogShows("service=tex2ps files=8")) << m_server.Log();
}

TEST_F(WindowLessOutputTest, MakesAValidPdfOfTheSampleArticle)
{
    const ClientRun run = Output("pdf", "paper.tex");
    ASSERT_EQ(run.exitStatus, 0) << run.output << m_server.Log();
    int status = -1;
    const std::string info = Capture({"pdfinfo", Path("paper.pdf").string()}, status);
    EXPECT_EQ(status, 0) << info;
    EXPECT_NE(info.find("Pages:           3\n"), std::string::npos) << info;
    int textStatus = -1;
    const std::string text = Capture({"pdftotext", Path("paper.pdf").string(), "-"}, textStatus);
    EXPECT_NE(text.find("Settling Times of Damped Oscillators"), std::string::npos);
    EXPECT_NE(text.find("About the printed version"), std::string::npos);
    EXPECT_EQ(text.find("About the web version"), std::string::npos);
}

TEST_F(WindowLessOutputTest, MakesPostProcessedHtmlPagesOfTheSampleArticle)
{
    const ClientRun run = Output("html", "paper.tex");
    ASSERT_EQ(run.exitStatus, 0) << run.output << m_server.Log();
    const std::string page = Read("paper/index.html");
    // The converter's page, with the document's settings applied by the post-processing.
    EXPECT_NE(page.find("Settling Times of Damped Oscillators"), std::string::npos);
    EXPECT_NE(page.find("<meta name=\"generator\" content=\"Quillwright\">\r\n</HEAD>"), std::string::npos);
    EXPECT_NE(page.find("<p class=\"footer\">Settling times of damped oscillators &ndash; typeset with Quillwright.</p></BODY>"),
              std::string::npos);
    EXPECT_NE(page.find("<hr size=1>"), std::string::npos);
    EXPECT_NE(page.find("<p class=\"note\"><em>Note:</em>&nbsp;The figures"), std::string::npos);
    EXPECT_EQ(page.find("8888888"), std::string::npos);
    EXPECT_NE(page.find("About the web version"), std::string::npos);
    EXPECT_EQ(page.find("About the printed version"), std::string::npos);
    // Every image the page shows was delivered; the duplicate page named after the document was not kept.
    EXPECT_FALSE(std::filesystem::exists(Path("paper/paper.html")));
    int images = 0;
    for (std::size_t at = page.find("SRC=\""); at != std::string::npos; at = page.find("SRC=\"", at + 1)) {
        const std::string name = page.substr(at + 5, page.find('"', at + 5) - at - 5);
        EXPECT_TRUE(std::filesystem::exists(Path("paper/" + name))) << name;
        ++images;
    }
    EXPECT_GE(images, 10);
    EXPECT_TRUE(Read("paper/img1.png").starts_with("\x89PNG"));
    EXPECT_TRUE(m_server.LogShows("service=tex2html files=8"));
}

TEST_F(WindowLessOutputTest, AppliesTheMarkupRulesOfTheTemplate)
{
    const ClientRun run = Output("html", "manual.tex");
    ASSERT_EQ(run.exitStatus, 0) << run.output << m_server.Log();
    const std::string page = Read("manual/index.html");
    EXPECT_NE(page.find("<table class=\"hint\" cellpadding=\"4\"><tr><td valign=\"top\"><img src=\"hint.png\""), std::string::npos);
    EXPECT_NE(page.find("<p class=\"warning\"><img src=\"warning.gif\""), std::string::npos);
    EXPECT_NE(page.find("<kbd class=\"key\">Ctrl</kbd>+<kbd class=\"key\">S</kbd>"), std::string::npos);
    EXPECT_NE(page.find("<code class=\"file\">paper.tex</code>"), std::string::npos);
    EXPECT_NE(page.find("<span class=\"menu\">File</span>"), std::string::npos);
    EXPECT_NE(page.find("Quillwright<sup>TM</sup>"), std::string::npos);
    EXPECT_NE(page.find("<link rel=\"stylesheet\" href=\"manual.css\">"), std::string::npos);
    EXPECT_NE(page.find("<p class=\"footer\">Quillwright user guide</p>"), std::string::npos);
    EXPECT_EQ(page.find("8888888"), std::string::npos);
    // The images the rules name come from the template, not from the server.
    EXPECT_TRUE(std::filesystem::exists(Path("manual/hint.png")));
    EXPECT_TRUE(std::filesystem::exists(Path("manual/warning.gif")));
}

TEST_F(WindowLessOutputTest, TypesetsTheMarkupCommandsForPrint)
{
    const ClientRun run = Output("pdf", "manual.tex");
    ASSERT_EQ(run.exitStatus, 0) << run.output << m_server.Log();
    int status = -1;
    const std::string text = Capture({"pdftotext", Path("manual.pdf").string(), "-"}, status);
    EXPECT_NE(text.find("Hint:"), std::string::npos) << text;
    EXPECT_NE(text.find("Warning:"), std::string::npos);
    EXPECT_EQ(text.find("8888888"), std::string::npos);
}

TEST_F(WindowLessOutputTest, UsesTheCzechConversionForCzechDocuments)
{
    const ClientRun run = Output("html", "czech.tex");
    ASSERT_EQ(run.exitStatus, 0) << run.output << m_server.Log();
    EXPECT_TRUE(m_server.LogShows("service=cstex2html"));
    const std::string page = Read("czech/index.html");
    EXPECT_NE(page.find("lang=\"cs\""), std::string::npos);
    EXPECT_NE(page.find("charset=iso-8859-2"), std::string::npos);
    // "Žluťoučký kůň" from the Windows-1250 source, through LaTeX accents, in ISO 8859-2.
    EXPECT_NE(page.find("\xaelu\xbbou\xe8k\xfd k\xf9\xf2"), std::string::npos);
}

TEST_F(WindowLessOutputTest, ReturnsTheLogAndStatusTwoForLatexErrors)
{
    const ClientRun run = Output("pdf", "broken.tex");
    EXPECT_EQ(run.exitStatus, 2) << run.output;
    const std::string log = Read("broken.log");
    EXPECT_NE(log.find("\n! Undefined control sequence."), std::string::npos) << log;
    EXPECT_NE(log.find("\\undefinedcommand"), std::string::npos);
    EXPECT_TRUE(m_server.LogShows("result=latex-errors"));
    // The problem lines, relative to the working directory, then the log.
    const std::string ending = "\nbroken.tex:5: error: Undefined control sequence.\n"
                               "LaTeX reported errors; the log is " + Path("broken.log").string() + "\n";
    ASSERT_GE(run.output.size(), ending.size());
    EXPECT_EQ(run.output.substr(run.output.size() - ending.size()), ending) << run.output;
}

TEST_F(WindowLessOutputTest, ReportsARefusedServiceAsAJobError)
{
    std::ofstream(Path("refused.tex")) << "%processor pdflatex2ps\n\\documentclass{article}\n\\begin{document}\nx\n\\end{document}\n";
    const ClientRun run = Output("ps", "refused.tex");
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_NE(run.output.find("Connection aborted: service pdflatex2ps is not offered by this server"), std::string::npos)
        << run.output;
}

TEST_F(WindowLessOutputTest, MaintenanceFetchesAndStoresAPageUnderTheWebRoot)
{
    std::filesystem::create_directories(m_server.WebRoot() / "guide");
    std::ofstream(m_server.WebRoot() / "guide/index.html") << "<html><body>old</body></html>\n";
    std::string page;
    {
        RawClient client(m_server.MaintenancePort());
        client.ReadLine();
        client.Send("client Quillwright\nservice maintenance\nrun cp /var/www/html/guide/index.html ./file\nget file:dos\ncommit\n");
        ASSERT_EQ(client.ReadLine(), "commit");
        const std::string fileLine = client.ReadLine();
        ASSERT_EQ(fileLine, "file file:30");
        ASSERT_EQ(client.ReadLine(), "commit");
        page = client.ReadBytes(30);
    }
    const std::string edited = page.replace(page.find("old"), 3, "new");
    {
        RawClient client(m_server.MaintenancePort());
        client.ReadLine();
        client.Send("client Quillwright\nservice maintenance\nput file:" + std::to_string(edited.size()) +
                    ":dos\nrun cp file /var/www/html/guide/index.html\ncommit\n");
        ASSERT_EQ(client.ReadLine(), "commit");
        client.Send(edited);
        EXPECT_EQ(client.ReadLine(), "commit");
    }
    std::ifstream stored(m_server.WebRoot() / "guide/index.html");
    EXPECT_EQ(std::string((std::istreambuf_iterator<char>(stored)), {}), "<html><body>new</body></html>\n");
}

TEST(WindowLessRefusalTest, AClientTheServerDoesNotAdmitIsToldWhy)
{
    ServerProcess server({"--allow", "127.0.0.2/32"});
    const ExampleDocuments documents;
    const ClientRun run = RunClient(
        {"--output", "ps", "--address", "127.0.0.1:" + std::to_string(server.DocumentationPort()), "paper.tex"},
        documents.Directory());
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_NE(run.output.find("Connection aborted: client address 127.0.0.1 is not allowed on this port"),
              std::string::npos)
        << run.output;
    EXPECT_EQ(run.output.find("Invalid response"), std::string::npos) << run.output;
    EXPECT_FALSE(std::filesystem::exists(documents.Directory() / "paper.ps"));
}

}  // namespace
}  // namespace torvel_test
