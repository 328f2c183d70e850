// UTF-8 documents through the window-less mode and a real torvel-server: the letters of the source
// reach the PostScript, the PDF and the HTML pages, whose charset declaration stays true.
#include "client_run.h"
#include "server/server_process.h"

#include <gtest/gtest.h>

#include <iconv.h>

#include <fstream>
#include <regex>

namespace torvel_test {
namespace {

const std::string issueLetters = "Café naïve žlutý kůň";
const std::string czechLetters = "Příliš žluťoučký kůň úpěl ďábelské ódy";

std::string Document(const std::string& preamble, const std::string& body)
{
    return "\\documentclass{article}\n" + preamble + "\\begin{document}\n" + body + "\n\\end{document}\n";
}

std::string Utf8Of(unsigned long codePoint)
{
    std::string bytes;
    if (codePoint < 0x80)
        return std::string(1, static_cast<char>(codePoint));
    if (codePoint < 0x800)
        return {static_cast<char>(0xC0 | (codePoint >> 6)), static_cast<char>(0x80 | (codePoint & 0x3F))};
    if (codePoint < 0x10000)
        return {static_cast<char>(0xE0 | (codePoint >> 12)), static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)),
                static_cast<char>(0x80 | (codePoint & 0x3F))};
    return {static_cast<char>(0xF0 | (codePoint >> 18)), static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F)),
            static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)), static_cast<char>(0x80 | (codePoint & 0x3F))};
}

std::string ToUtf8(const std::string& bytes, const std::string& charset)
{
    iconv_t converter = iconv_open("UTF-8", charset.c_str());
    if (converter == reinterpret_cast<iconv_t>(-1))
        return "(no converter from " + charset + ")";
    std::string input = bytes;
    std::string output(bytes.size() * 4 + 16, '\0');
    char* in = input.data();
    char* out = output.data();
    std::size_t inLeft = input.size();
    std::size_t outLeft = output.size();
    const std::size_t result = iconv(converter, &in, &inLeft, &out, &outLeft);
    iconv_close(converter);
    if (result == static_cast<std::size_t>(-1))
        return "(not " + charset + ")";
    output.resize(output.size() - outLeft);
    return output;
}

struct DecodedPage {
    std::string charset;
    std::string text;  // in UTF-8, numeric character references resolved
};

// The page read as its declaration says, the way a browser would read it.
DecodedPage Decode(const std::string& page)
{
    std::smatch found;
    if (!std::regex_search(page, found, std::regex("charset=([A-Za-z0-9_-]+)")))
        return {"(none)", {}};
    DecodedPage decoded{found[1], {}};
    const std::string text = ToUtf8(page, decoded.charset);
    const std::regex reference("&#([0-9]+);|&#[xX]([0-9A-Fa-f]+);");
    std::size_t copied = 0;
    for (auto match = std::sregex_iterator(text.begin(), text.end(), reference); match != std::sregex_iterator(); ++match) {
        decoded.text += text.substr(copied, static_cast<std::size_t>(match->position()) - copied);
        decoded.text += Utf8Of((*match)[1].matched ? std::stoul((*match)[1]) : std::stoul((*match)[2], nullptr, 16));
        copied = static_cast<std::size_t>(match->position() + match->length());
    }
    decoded.text += text.substr(copied);
    return decoded;
}

class Utf8DocumentsTest : public ::testing::Test {
protected:
    ClientRun Output(const std::string& kind, const std::string& document)
    {
        return RunClient({"--output", kind, "--address", "127.0.0.1:" + std::to_string(m_server.DocumentationPort()), document},
                         m_documents.Directory());
    }
    std::filesystem::path Path(const std::string& relative) const { return m_documents.Directory() / relative; }
    void Write(const std::string& name, const std::string& text) const { std::ofstream(Path(name), std::ios::binary) << text; }
    std::string TextOf(const std::string& program, const std::string& file) const
    {
        int status = -1;
        const std::string text = Capture({program, Path(file).string(), "-"}, status);
        return status == 0 ? text : program + " failed: " + text;
    }

    ServerProcess m_server;
    ExampleDocuments m_documents;
};

struct PrintCase {
    const char* name;
    std::string source;
    std::string pdfText;         // what the PDF's text holds
    bool postScriptHoldsLetters;  // whether the PostScript's text holds the letters themselves
};

TEST_F(Utf8DocumentsTest, PostScriptAndPdfHoldTheLettersOfTheSource)
{
    const std::string t1 = "\\usepackage[T1]{fontenc}\n";
    const PrintCase cases[] = {
        // LaTeX's default fonts draw these letters as a base letter (an i without its dot) and an
        // accent; the text of the PDF says so.
        {"no settings, default fonts", Document("", issueLetters),
         "Cafe\u0301 na\u0131\u0308ve z\u030Cluty\u0301 ku\u030An\u030C", false},
        {"no settings, T1 fonts", Document(t1, issueLetters), issueLetters, true},
        {"with entity replacement", Document(t1 + "\\usepackage{html}\n%replace_entities\n", issueLetters + ", " + czechLetters),
         issueLetters + ", " + czechLetters, true},
    };
    for (const PrintCase& print : cases) {
        SCOPED_TRACE(print.name);
        Write("u.tex", print.source);
        for (const char* kind : {"pdf", "ps"}) {
            const ClientRun run = Output(kind, "u.tex");
            ASSERT_EQ(run.exitStatus, 0) << kind << "\n" << run.output;
            EXPECT_EQ(run.output.find("Invalid UTF-8"), std::string::npos) << run.output;
        }
        EXPECT_NE(TextOf("pdftotext", "u.pdf").find(print.pdfText), std::string::npos) << TextOf("pdftotext", "u.pdf");
        if (print.postScriptHoldsLetters) {
            EXPECT_NE(TextOf("ps2ascii", "u.ps").find(print.pdfText), std::string::npos) << TextOf("ps2ascii", "u.ps");
        }
    }
}

struct PageCase {
    const char* name;
    std::string document;  // a file of examples/ or written from `source`
    std::string source;
    const char* charset;   // what the page declares
    std::string expected;  // what the page holds, read in that charset
};

TEST_F(Utf8DocumentsTest, HtmlPagesHoldTheLettersInTheCharsetTheyDeclare)
{
    const std::string czech = "%language czech\n";
    const PageCase cases[] = {
        {"English, no settings", "u.tex", Document("", issueLetters), "utf-8", issueLetters},
        {"English, entity replacement", "u.tex", Document("\\usepackage{html}\n%replace_entities\n", issueLetters), "utf-8",
         issueLetters},
        // The Czech letters become accents before the upload and come back in the Czech code.
        {"Czech, no other settings", "u.tex", Document(czech, czechLetters), "iso-8859-2", czechLetters},
        {"Czech example, entity replacement", "czech-utf8.tex", "", "iso-8859-2", "Žluťoučký kůň úpěl ďábelské ódy"},
        // Characters beyond the Czech code: the pages are UTF-8 and say so.
        {"Czech with quotation marks", "u.tex", Document("\\usepackage[T1]{fontenc}\n" + czech, "„" + czechLetters + "“ a €"),
         "utf-8", "„" + czechLetters + "“ a €"},
    };
    for (const PageCase& html : cases) {
        SCOPED_TRACE(html.name);
        if (!html.source.empty())
            Write(html.document, html.source);
        const ClientRun run = Output("html", html.document);
        ASSERT_EQ(run.exitStatus, 0) << run.output;
        const std::string base = html.document.substr(0, html.document.size() - 4);
        std::ifstream file(Path(base + "/index.html"), std::ios::binary);
        const DecodedPage page = Decode(std::string((std::istreambuf_iterator<char>(file)), {}));
        EXPECT_EQ(page.charset, html.charset);
        EXPECT_NE(page.text.find(html.expected), std::string::npos) << page.text;
        std::filesystem::remove_all(Path(base));
    }
    EXPECT_TRUE(m_server.LogShows("service=cstex2html"));
}

}  // namespace
}  // namespace torvel_test
