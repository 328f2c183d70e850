// Documents as they are written today, through the window-less mode and a real torvel-server: their
// own class and package beside them, figures of every format, bibliographies and an index.
#include "client_run.h"
#include "server/server_process.h"

#include <gtest/gtest.h>

#include <fstream>

namespace torvel_test {
namespace {

const char* const kReferences =
    "@book{lamport,\n  author = {Leslie Lamport},\n  title = {A Document Preparation System Sampled Here},\n"
    "  publisher = {Addison-Wesley},\n  year = {1994}\n}\n";

class DocumentKindsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { s_server = new ServerProcess({"--jobs", "2"}); }
    static void TearDownTestSuite()
    {
        delete s_server;
        s_server = nullptr;
    }

    void Write(const std::string& relative, const std::string& contents) const
    {
        const auto path = m_documents.Directory() / relative;
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << contents;
    }
    std::filesystem::path Path(const std::string& relative) const { return m_documents.Directory() / relative; }

    // The figure of the examples as PNG, JPEG or PDF, made with Ghostscript.
    void MakeFigure(const std::string& relative) const
    {
        std::filesystem::create_directories(Path(relative).parent_path());
        const std::string extension = Path(relative).extension().string();
        const std::string device = extension == ".png" ? "png16m" : extension == ".jpg" ? "jpeg" : "pdfwrite";
        int status = -1;
        const std::string output =
            Capture({"gs", "-dSAFER", "-dBATCH", "-dNOPAUSE", "-dQUIET", "-dEPSCrop", "-r72", "-sDEVICE=" + device,
                     "-sOutputFile=" + Path(relative).string(), Path("figures/decay.eps").string()},
                    status);
        ASSERT_EQ(status, 0) << output;
    }

    ClientRun Output(const std::string& kind, const std::string& document) const
    {
        return RunClient({"--output", kind, "--address", "127.0.0.1:" + std::to_string(s_server->DocumentationPort()),
                          document},
                         m_documents.Directory());
    }

    std::string PdfText(const std::string& relative) const
    {
        int status = -1;
        return Capture({"pdftotext", Path(relative).string(), "-"}, status);
    }

    static ServerProcess* s_server;
    ExampleDocuments m_documents;
};

ServerProcess* DocumentKindsTest::s_server = nullptr;

std::string Document(const std::string& preamble, const std::string& body)
{
    return "\\documentclass{article}\n" + preamble + "\n\\begin{document}\n" + body + "\n\\end{document}\n";
}

TEST_F(DocumentKindsTest, UsesTheClassAndPackageBesideTheDocument)
{
    Write("MyThesis.cls", "\\NeedsTeXFormat{LaTeX2e}\\ProvidesClass{mythesis}\\LoadClass{article}\n"
                          "\\newcommand\\thesismark{Class beside the thesis}\n");
    Write("styles/mystyle.sty", "\\ProvidesPackage{mystyle}\\newcommand\\stylemark{Package beside the thesis}\n");
    Write("thesis.tex", "\\documentclass[a4paper]{MyThesis}\n\\usepackage{styles/mystyle}\n\\begin{document}\n"
                        "\\thesismark. \\stylemark.\n\\end{document}\n");
    const ClientRun run = Output("pdf", "thesis.tex");
    ASSERT_EQ(run.exitStatus, 0) << run.output << s_server->Log();
    const std::string text = PdfText("thesis.pdf");
    EXPECT_NE(text.find("Class beside the thesis."), std::string::npos) << text;
    EXPECT_NE(text.find("Package beside the thesis."), std::string::npos) << text;
}

TEST_F(DocumentKindsTest, MakesPdfOfPngJpegAndPdfFiguresFromSubdirectoriesAndTheGraphicsPath)
{
    MakeFigure("figs/plot.png");
    MakeFigure("photos/Photo.jpg");
    MakeFigure("photos/drawing.pdf");
    Write("modern.tex", Document("\\usepackage{graphicx}\n\\graphicspath{{photos/}}",
                                 "A \\includegraphics[width=2cm]{figs/plot} B \\includegraphics[width=2cm]{Photo}\n"
                                 "C \\includegraphics[width=2cm]{drawing.pdf}"));
    const ClientRun run = Output("pdf", "modern.tex");
    ASSERT_EQ(run.exitStatus, 0) << run.output << s_server->Log();
    std::ifstream logFile(Path("modern.log"));
    const std::string log((std::istreambuf_iterator<char>(logFile)), {});
    for (const char* figure : {"<use plot.png>", "<use photo.jpg>", "<use drawing.pdf>"})
        EXPECT_NE(log.find(figure), std::string::npos) << figure << "\n" << log;
    int status = -1;
    const std::string images = Capture({"pdfimages", "-list", Path("modern.pdf").string()}, status);
    EXPECT_NE(images.find("image"), std::string::npos) << images;
}

TEST_F(DocumentKindsTest, MakesPdfOfAMixOfEpsAndPngFigures)
{
    MakeFigure("figs/plot.png");
    Write("mixed.tex", Document("\\usepackage{graphicx}", "EPS \\includegraphics[width=2cm]{figures/decay.eps}\n"
                                                          "PNG \\includegraphics[width=2cm]{figs/plot}"));
    const ClientRun run = Output("pdf", "mixed.tex");
    ASSERT_EQ(run.exitStatus, 0) << run.output << s_server->Log();
    std::ifstream logFile(Path("mixed.log"));
    const std::string log((std::istreambuf_iterator<char>(logFile)), {});
    EXPECT_NE(log.find("<use decay-eps-converted-to.pdf>"), std::string::npos) << log;
    EXPECT_NE(log.find("<use plot.png>"), std::string::npos) << log;
}

TEST_F(DocumentKindsTest, RefusesPostScriptOfPngFiguresByName)
{
    MakeFigure("figs/plot.png");
    Write("bitmap.tex", Document("\\usepackage{graphicx}", "\\includegraphics{figs/plot}"));
    const ClientRun run = Output("ps", "bitmap.tex");
    EXPECT_EQ(run.exitStatus, 2) << run.output;
    EXPECT_NE(run.output.find("PostScript output cannot show the PNG, JPEG or PDF figure plot.png; ask for PDF output"),
              std::string::npos)
        << run.output;
    EXPECT_EQ(run.output.find("BoundingBox"), std::string::npos) << run.output;
}

TEST_F(DocumentKindsTest, MakesHtmlPagesThatShowPngFigures)
{
    MakeFigure("figs/plot.png");
    Write("webfigure.tex", Document("\\usepackage{graphicx}", "Before \\includegraphics[width=3cm]{figs/plot} after."));
    const ClientRun run = Output("html", "webfigure.tex");
    ASSERT_EQ(run.exitStatus, 0) << run.output << s_server->Log();
    std::ifstream pageFile(Path("webfigure/index.html"));
    const std::string page((std::istreambuf_iterator<char>(pageFile)), {});
    EXPECT_NE(page.find("SRC=\"./plot.png\""), std::string::npos) << page;
    EXPECT_TRUE(std::filesystem::exists(Path("webfigure/plot.png")));
}

// What the server's latexmk runs besides LaTeX: the text each tool puts on the page.
struct ToolCase {
    const char* what;
    std::string preamble;
    std::string body;
    std::string expected;
};

TEST_F(DocumentKindsTest, RunsBibtexBiberAndMakeindexWhenTheDocumentNeedsThem)
{
    Write("lit/refs.bib", kReferences);
    const std::vector<ToolCase> cases = {
        {"bibtex", "", "See \\cite{lamport}.\n\\bibliographystyle{plain}\n\\bibliography{lit/refs}",
         "A Document Preparation System Sampled Here"},
        {"biber", "\\usepackage[backend=biber]{biblatex}\n\\addbibresource{lit/refs.bib}",
         "See \\cite{lamport}.\n\\printbibliography", "A Document Preparation System Sampled Here"},
        {"makeindex", "\\usepackage{makeidx}\n\\makeindex", "Quokkas\\index{Quokka} live here.\n\\printindex",
         "Quokka, 1"},
    };
    for (const ToolCase& test : cases) {
        const std::string name = std::string(test.what) + "-document";
        Write(name + ".tex", Document(test.preamble, test.body));
        const ClientRun run = Output("pdf", name + ".tex");
        ASSERT_EQ(run.exitStatus, 0) << test.what << "\n" << run.output << s_server->Log();
        const std::string text = PdfText(name + ".pdf");
        EXPECT_NE(text.find(test.expected), std::string::npos) << test.what << "\n" << text;
        EXPECT_EQ(text.find("?"), std::string::npos) << test.what << ": an unresolved citation\n" << text;
    }
}

TEST_F(DocumentKindsTest, ReportsAMissingBibliographyAndFigureLikeAMissingInputFile)
{
    const std::vector<std::pair<std::string, std::string>> cases = {
        {Document("", "\\cite{lamport}\\bibliographystyle{plain}\\bibliography{absent}"), "absent.bib"},
        {Document("\\usepackage{graphicx}", "\\includegraphics{figs/absent.png}"), "figs/absent.png"},
        {Document("", "\\input{absent}"), "absent.tex"},
    };
    for (const auto& [document, missing] : cases) {
        Write("missing.tex", document);
        const ClientRun run = Output("pdf", "missing.tex");
        EXPECT_EQ(run.exitStatus, 2) << missing << "\n" << run.output;
        EXPECT_NE(run.output.find(missing), std::string::npos) << missing << "\n" << run.output;
    }
}

}  // namespace
}  // namespace torvel_test
