#include "docsystem/fake_processing_server.h"
#include "docsystem/job_test_support.h"
#include "docsystem/postprocess_table.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace docsystem::testing;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Pair;
using ::testing::UnorderedElementsAre;

namespace {

const std::string documentText = "\\documentclass{article}\n\\begin{document}\nText\n\\end{document}\n";

class ResultDownloadTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        workspace.Write("data/template/postprocess.txt", testRules);
        workspace.Write("doc/paper.tex", documentText);
    }

    CallbackRecord RunJob(const FakeServerScript& script, OutputMode mode)
    {
        FakeProcessingServer server(script);
        CallbackRecord record = workspace.Run(JobLocation::Remote, mode, workspace.DocumentFile("paper.tex"),
                                              workspace.Parameters(server.Address()));
        server.Record();
        return record;
    }

    std::vector<std::string> FilesIn(const std::string& directory) const
    {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(directory))
            names.push_back(entry.path().filename().string());
        return names;
    }

    JobWorkspace workspace;
    ReportedErrors errors;
};

}  // namespace

TEST_F(ResultDownloadTest, HtmlResultsArePlacedByExtensionAndTheDocumentPageIsDropped)
{
    const std::string image = std::string("\x89PNG\0\r\n", 7);
    FakeServerScript script;
    script.results = {
        Result("paper.log", "This is TeX\n"),  Result("index.html", "<p>index</p>\n"),
        Result("paper.html", "<p>duplicate</p>\n"), Result("img1.png", image),
        Result("pic.gif", "GIF89a"),             Result("paper.aux", "\\relax\n"),
        Result("node2.html", "<p>two</p>\n"),     Result("data.bin", std::string(20000, '\0')),
        Result("../escape.html", "<p>up</p>\n"),  Result("sub\\inner.png", "inner"),
    };

    const CallbackRecord record = RunJob(script, OutputMode::Html);

    EXPECT_THAT(errors.Texts(), IsEmpty());
    const std::string output = workspace.DocumentFile("paper");
    EXPECT_THAT(FilesIn(output), UnorderedElementsAre("index.html", "img1.png", "pic.gif", "node2.html", "escape.html", "inner.png"));
    EXPECT_THAT(FilesIn(workspace.DocumentFile("")), UnorderedElementsAre("paper.tex", "paper.log", "data.bin", "paper"));
    EXPECT_EQ(workspace.Read(output + "/index.html"), "<p>index</p>\n");
    EXPECT_EQ(workspace.Read(output + "/img1.png"), image);
    EXPECT_EQ(workspace.Read(output + "/pic.gif"), "GIF89a");
    EXPECT_EQ(workspace.Read(output + "/node2.html"), "<p>two</p>\n");
    EXPECT_EQ(workspace.Read(output + "/escape.html"), "<p>up</p>\n");
    EXPECT_EQ(workspace.Read(output + "/inner.png"), "inner");
    EXPECT_EQ(workspace.Read(workspace.DocumentFile("data.bin")), std::string(20000, '\0'));
    EXPECT_EQ(workspace.Read(workspace.DocumentFile("paper.log")), "This is TeX\n");
    EXPECT_THAT(record.storedResults, ElementsAre(workspace.DocumentFile("paper.log"), output + "/index.html",
                                                  output + "/img1.png", output + "/pic.gif", output + "/node2.html",
                                                  workspace.DocumentFile("data.bin"), output + "/escape.html",
                                                  output + "/inner.png"));
}

// Makes another directory the working directory while it exists.
class WorkingDirectory {
public:
    explicit WorkingDirectory(const std::string& directory) : m_previous(std::filesystem::current_path())
    {
        std::filesystem::current_path(directory);
    }
    ~WorkingDirectory() { std::filesystem::current_path(m_previous); }
    WorkingDirectory(const WorkingDirectory&) = delete;
    WorkingDirectory& operator=(const WorkingDirectory&) = delete;

private:
    std::filesystem::path m_previous;
};

TEST_F(ResultDownloadTest, HtmlDirectorySettingChoosesTheOutputDirectory)
{
    struct Case {
        std::string setting;
        std::string outputDirectory;
    };
    // Relative settings are taken from the document's directory, not from the working directory.
    const std::vector<Case> cases = {
        {workspace.DocumentFile("absolute"), workspace.DocumentFile("absolute")},
        {"web", workspace.DocumentFile("web")},
        {"..\\site", workspace.DocumentFile("../site")},
    };
    const std::string elsewhere = std::filesystem::path(workspace.DataDirectory()).string();
    for (const Case& testCase : cases) {
        SCOPED_TRACE(testCase.setting);
        workspace.Write("doc/paper.tex", "%htmldir " + testCase.setting + "\n" + documentText);
        FakeServerScript script;
        script.results = {Result("index.html", "<p>index</p>\n")};

        {
            const WorkingDirectory workingDirectory(elsewhere);
            RunJob(script, OutputMode::Html);
        }

        EXPECT_THAT(errors.Texts(), IsEmpty());
        EXPECT_EQ(workspace.Read(testCase.outputDirectory + "/index.html"), "<p>index</p>\n");
        EXPECT_FALSE(workspace.Exists(workspace.DocumentFile("paper")));
        EXPECT_THAT(FilesIn(elsewhere), ElementsAre("template")) << "nothing lands in the working directory";
    }
}

// The marker the converter leaves for a rule without argument: 88888887, the id in four digits, ".".
std::string MarkerOfRule(const std::string& name)
{
    const PostProcessRule* rule = SharedPostProcessTable()->FindByFirstName(name);
    if (rule == nullptr)
        return {};
    std::string id = std::to_string(rule->id);
    return "88888887" + std::string(4 - id.size(), '0') + id + ".";
}

TEST_F(ResultDownloadTest, PagesArePostProcessedAndTheirExternalImagesCopied)
{
    // The first job of the process loads the rules, so run one before reading their ids.
    RunJob(FakeServerScript{}, OutputMode::Html);
    const std::string logo = MarkerOfRule("extlogo");
    const std::string missing = MarkerOfRule("missingimg");
    // The table lives as long as the process; ctest runs each test in a process of its own.
    if (logo.empty() || missing.empty())
        GTEST_SKIP() << "an earlier test of this process loaded other post-processing rules";
    workspace.Write("data/template/extimages/logo.png", "logo bytes");
    FakeServerScript script;
    script.results = {Result("index.html", "<p>" + logo + " and " + missing + "</p>\n")};

    RunJob(script, OutputMode::Html);

    EXPECT_THAT(errors.Texts(), IsEmpty());
    const std::string output = workspace.DocumentFile("paper");
    EXPECT_EQ(workspace.Read(output + "/index.html"), "<p><img src=\"logo.png\"> and <img src=\"none.png\"></p>\n");
    EXPECT_EQ(workspace.Read(output + "/logo.png"), "logo bytes");
    EXPECT_FALSE(workspace.Exists(output + "/none.png"));
}

TEST_F(ResultDownloadTest, NamesThatAreNoFileNamesAreDiscardedAndReported)
{
    FakeServerScript script;
    script.results = {
        Result("..", "parent"), Result("sub/..", "parent again"), Result(std::string("a\0b.ps", 6), "nul"),
        Result("", "empty"),   Result("paper.ps", "%!PS\n"),
    };

    const CallbackRecord record = RunJob(script, OutputMode::PostScript);

    EXPECT_EQ(workspace.Read(workspace.DocumentFile("paper.ps")), "%!PS\n");
    EXPECT_THAT(FilesIn(workspace.DocumentFile("")), UnorderedElementsAre("paper.tex", "paper.ps"));
    const auto texts = errors.Texts();
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0], "Documentation system error:\nThe server sent result files whose names are not file names; they "
                        "were not saved:\n\"..\"\n\"sub/..\"\n\"a\\x00b.ps\"\n\"\"");
    EXPECT_EQ(record.logs.size(), 1u) << "the log is still offered";
}

TEST_F(ResultDownloadTest, UnreadableSizesEndTheJobBeforeAnyData)
{
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"paper.ps:abc", "The server announced the result file \"paper.ps\" with the size \"abc\", which is not a byte count."},
        {"paper.ps:-5", "The server announced the result file \"paper.ps\" with the size \"-5\", which is not a byte count."},
        {"paper.ps:12kB", "The server announced the result file \"paper.ps\" with the size \"12kB\", which is not a byte count."},
        {"paper.ps:", "The server announced the result file \"paper.ps\" with the size \"\", which is not a byte count."},
        {"C:\\paper.ps:5", "The server announced a result file as \"C:\\paper.ps:5\", which is not a name and a size separated by a colon."},
        {"paper.ps", "The server announced a result file as \"paper.ps\", which is not a name and a size separated by a colon."},
    };
    for (const auto& [announcement, message] : cases) {
        ReportedErrors caseErrors;
        FakeServerScript script;
        script.results = {FakeResult{announcement, "12345"}};
        const CallbackRecord record = RunJob(script, OutputMode::PostScript);
        EXPECT_THAT(caseErrors.Texts(), ElementsAre("Documentation system error:\n" + message));
        EXPECT_FALSE(workspace.Exists(workspace.DocumentFile("paper.ps"))) << announcement;
        EXPECT_THAT(record.logs, IsEmpty());
    }
}

TEST_F(ResultDownloadTest, LargeSizesBeyondThirtyTwoBitsAreAcceptedUnderARaisedLimit)
{
    FakeServerScript script;
    script.results = {FakeResult{"paper.ps:4294967296", ""}};
    script.truncatedData = "x";
    FakeProcessingServer server(script);
    auto parameters = workspace.Parameters(server.Address());
    parameters[JobParameter::ResultSizeLimit] = "5000000000";
    workspace.Run(JobLocation::Remote, OutputMode::PostScript, workspace.DocumentFile("paper.tex"), parameters);
    // The server closes after one byte: the job fails while receiving, not while reading the size,
    // and the file cut short is gone.
    EXPECT_THAT(errors.Texts(), ElementsAre("Documentation system error:\nFailed to receive data: Connection reset by peer"));
    EXPECT_FALSE(workspace.Exists(workspace.DocumentFile("paper.ps")));
}
