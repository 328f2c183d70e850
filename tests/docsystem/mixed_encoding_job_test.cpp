// A job whose sources are in different encodings: every file is read in its own.
#include "docsystem/fake_processing_server.h"
#include "docsystem/job_test_support.h"
#include "docsystem/source_preamble.h"
#include "docsystem_test_support.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

using namespace docsystem::testing;
using ::testing::IsEmpty;

namespace {

std::string TemplateText(const std::string& name)
{
    std::ifstream file(std::string(QUILLWRIGHT_SOURCE_DIR) + "/template/" + name, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

}  // namespace

TEST(MixedEncodingJobTest, Utf8AndLegacyInputsAreEachPreparedInTheirOwnEncoding)
{
    JobWorkspace workspace;
    workspace.Write("data/template/preprocess.txt", TemplateText("preprocess.txt"));
    workspace.Write("data/template/postprocess.txt", testRules);
    // The entity table is built once per process; a test that ran before with another table decides it.
    ParameterCallback probe(workspace.DataDirectory());
    const auto shared = SharedSourcePreamble(probe);
    if (shared == nullptr || shared->utf8.entityPairs.size() != 115u)
        GTEST_SKIP() << "an earlier test of this process built the entity table from another file";

    const std::string main = "\\documentclass{article}\n\\begin{document}\nCafé naïve\n\\input{modern}\n\\input{legacy}\n"
                             "% žlutý in a comment\n\\end{document}\n";
    workspace.Write("doc/paper.tex", main);
    workspace.Write("doc/modern.tex", "Žluťoučký kůň, Œuvre €5 舞\n");
    // The same words in Windows-1250; the first file in upload order, so its table serves all three.
    workspace.Write("doc/legacy.tex", "%translationTable table.txt\n\x8Elu\x9Dou\xE8k\xFD k\xF9\xF2\n");
    // A UTF-8 key, and a legacy one that is also the first byte of 舞 in UTF-8.
    workspace.Write("doc/table.txt", "€ EUR\n\xE8 c\n");
    FakeServerScript script;
    script.results = {Result("paper.log", "This is TeX\n")};
    FakeProcessingServer server(script);
    ReportedErrors errors;
    workspace.Run(JobLocation::Remote, OutputMode::Pdf, workspace.DocumentFile("paper.tex"),
                  workspace.Parameters(server.Address()));
    EXPECT_THAT(errors.Texts(), IsEmpty());

    // Upload order is the order of the names: legacy.tex, modern.tex, paper.tex, then the templates.
    const std::string legacy = "%translationTable table.txt\n\\v{Z}lu\\v{t}ou\\v{c}k\\'{y} k\\r{u}\\v{n}\n";
    const std::string modern = "\\v{Z}lu\\v{t}ou\\v{c}k\\'{y} k\\r{u}\\v{n}, \\OE{}uvre EUR5 舞\n";
    const std::string paper = "\\documentclass{article}\n\\begin{document}\nCaf\\'{e} na\\\"{i}ve\n\\input{modern}\n"
                              "\\input{legacy}\n% žlutý in a comment\n\\end{document}\n";
    EXPECT_EQ(server.Record().uploaded, legacy + modern + paper + testRules);
}
