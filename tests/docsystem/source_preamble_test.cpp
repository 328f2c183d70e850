#include "docsystem/entity_replacement.h"
#include "docsystem/source_preamble.h"
#include "docsystem_test_support.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <thread>

namespace {

using docsystem::testing::FixtureTree;
using docsystem::testing::ParameterCallback;
using ::testing::HasSubstr;
using ::testing::Not;

PostProcessTable RulesFrom(const FixtureTree& tree, const std::string& lines, std::int32_t firstId)
{
    PostProcessTable rules;
    rules.Load(tree.Write("postprocess.txt", lines), firstId);
    return rules;
}

std::string Prepared(std::string text, const SourcePreamble& preamble)
{
    ApplySourcePreamble(text, preamble);
    return text;
}

TEST(SourcePreambleTest, EntityLinesDefineUnknownCommands)
{
    const SourcePreamble preamble = BuildSourcePreamble("latexcommand \"v, ss ,l\"\n"
                                                        "\\230 \\\\ae{}\n"
                                                        "\\154 \\\\v{s}\n"
                                                        "\\223 \\\\ss{}\n"
                                                        "\\225 \\\\'{a}\n"
                                                        "<< \\\\guillemotleft{\n"
                                                        "\\230 \\\\ae{}\n",
                                                        PostProcessTable());
    EXPECT_EQ(preamble.text, "\\newcommand{\\ae}{\xE6}\n"
                             "\\newcommand{\\guillemotleft}[1]{<<#1}}\n"
                             "\\begin{htmlonly}\n\\end{htmlonly}\n");
    ASSERT_EQ(preamble.entityPairs.size(), 6u);
    EXPECT_EQ(preamble.entityPairs[1].from, "\x9A");
    EXPECT_EQ(preamble.entityPairs[1].to, "\\v{s}");
    EXPECT_EQ(preamble.entityPairs[3].to, "\\'{a}");
    EXPECT_TRUE(preamble.knownCommands.contains("ss"));
    EXPECT_TRUE(preamble.knownCommands.contains("ae"));
}

TEST(SourcePreambleTest, FieldsAreUnescapedAndOtherLinesIgnored)
{
    const SourcePreamble preamble = BuildSourcePreamble("\\b\\n\\r\\t x\n"
                                                        "\\321 \\\"\"\n"  // 321 keeps its low 8 bits: 65
                                                        "\"a b\" \"\"quoted\"\"\n"
                                                        "one\n"
                                                        "one two three\n"
                                                        "\"\" empty\n"
                                                        "  \t padded\tline \r\n"
                                                        "trailing\\ x\n",
                                                        PostProcessTable());
    ASSERT_EQ(preamble.entityPairs.size(), 5u);
    EXPECT_EQ(preamble.entityPairs[0].from, "\b\n\r\t");
    EXPECT_EQ(preamble.entityPairs[1].from, "A");
    EXPECT_EQ(preamble.entityPairs[1].to, "\"");
    EXPECT_EQ(preamble.entityPairs[2].from, "a b");
    EXPECT_EQ(preamble.entityPairs[2].to, "\"quoted\"");
    EXPECT_EQ(preamble.entityPairs[3].from, "\"");  // two quotes in a row are one literal quote
    EXPECT_EQ(preamble.entityPairs[4].from, "trailing\\");
}

TEST(SourcePreambleTest, EmptyEntityTextReplacesNothing)
{
    SourcePreamble preamble;
    preamble.entityPairs = {{"", "x"}, {"a", "b"}};
    EXPECT_EQ(Prepared("aa", preamble), "bb");
}

TEST(SourcePreambleTest, RulesBecomeMarkerCommandsInMapOrder)
{
    FixtureTree tree;
    const PostProcessTable rules = RulesFrom(tree, "tm|<sup>TM</sup>\nkey,kbd|<kbd>|</kbd>\nhint|<p>|</p>\n", 5);
    const SourcePreamble preamble = BuildSourcePreamble("", rules);
    EXPECT_EQ(preamble.text, "\\begin{htmlonly}\n"
                             "\\newcommand{\\hint}[1]{{888888890007.#1.99999999}}\n"
                             "\\newcommand{\\key}[1]{{888888890006.#1.99999999}}\n"
                             "\\newcommand{\\kbd}[1]{{888888890006.#1.99999999}}\n"
                             "\\newcommand{\\tm}{{888888870005.}}\n"
                             "\\end{htmlonly}\n");
}

TEST(SourcePreambleTest, TemplateEntitiesCoverBothCodePages)
{
    std::ifstream file(std::string(QUILLWRIGHT_SOURCE_DIR) + "/template/preprocess.txt", std::ios::binary);
    ASSERT_TRUE(file.is_open());
    const std::string content((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    const SourcePreamble preamble = BuildSourcePreamble(content, PostProcessTable());

    EXPECT_EQ(preamble.entityPairs.size(), 80u);  // the notes of the file make no pair
    // Accent commands of LaTeX itself are never defined again, and nothing without a name is.
    EXPECT_THAT(preamble.text, Not(HasSubstr("\\newcommand")));
    std::string latin = "\xE1\xE9\xED\xF3\xFA\xFD\xE4\xF6\xFC\xDF\xE8\x9A\x9E\xF8\xF9\xB3\xB9\xF5";
    latin = Prepared(latin, preamble);
    EXPECT_EQ(latin, "\\'{a}\\'{e}\\'{i}\\'{o}\\'{u}\\'{y}\\\"{a}\\\"{o}\\\"{u}\\ss{}\\v{c}\\v{s}\\v{z}\\v{r}\\r{u}"
                     "\\l{}\\k{a}\\H{o}");
}

TEST(SourcePreambleTest, PreambleGoesBeforeTheMarkerAndEntitiesAreReplacedAfterIt)
{
    SourcePreamble preamble;
    preamble.text = "\\newcommand{\\x}{y}\n";
    preamble.entityPairs = {{"\xE1", "\\'{a}"}, {"a", "aa"}};
    EXPECT_EQ(Prepared("\xE1 before\n%replace_entities\n\xE1 after", preamble),
              "\xE1 before\n\\newcommand{\\x}{y}\n%replace_entities\n\\'{aa} aafter");
    // Without the marker (or with it at the very first character) everything is replaced.
    EXPECT_EQ(Prepared("%replace_entities \xE1", preamble), "%replace_entities \xE1");
    EXPECT_EQ(Prepared("x\xE1 %replace_entities", preamble), "x\xE1 \\newcommand{\\x}{y}\n%replace_entities");
    EXPECT_EQ(Prepared("x\xE1 %replace_entitie", preamble), "x\\'{aa} %replace_entitie");
    EXPECT_EQ(Prepared("", preamble), "");
}

TEST(SourcePreambleTest, CommentsKeepTheirEntities)
{
    SourcePreamble preamble;
    preamble.entityPairs = {{"\xE1", "\\'{a}"}, {"!", "%"}};
    EXPECT_EQ(Prepared("\xE1 % \xE1\n\\% \xE1\n\xE1", preamble), "\\'{a} % \xE1\n\\% \\'{a}\n\\'{a}");
    // The test looks at the text as rewritten so far: the inserted "%" starts a comment.
    EXPECT_EQ(Prepared("a!b!c", preamble), "a%b!c");
}

TEST(SourcePreambleTest, SharedPreambleIsBuiltOncePerProcess)
{
    FixtureTree program;
    ParameterCallback callback(program.Root());
    if (SharedSourcePreamble(callback) != nullptr)
        GTEST_SKIP() << "an earlier test of this process built the shared preamble";

    std::string text = "\xE1";
    ReplaceEntities(text, callback);
    EXPECT_EQ(text, "\xE1");

    // A file without any pair still gives the one preamble of the process.
    program.Write("template/preprocess.txt", "only comments in this file\n");
    std::vector<std::shared_ptr<const SourcePreamble>> seen(4);
    std::vector<std::thread> threads;
    for (auto& result : seen)
        threads.emplace_back([&result, &program] {
            ParameterCallback threadCallback(program.Root());
            result = SharedSourcePreamble(threadCallback);
        });
    for (std::thread& thread : threads)
        thread.join();
    ASSERT_NE(seen[0], nullptr);
    for (const auto& result : seen)
        EXPECT_EQ(result, seen[0]);
    EXPECT_TRUE(seen[0]->entityPairs.empty());

    program.Write("template/preprocess.txt", "\\225 \\\\'{a}\n");
    EXPECT_EQ(SharedSourcePreamble(callback), seen[0]);
    text = "x\n%replace_entities\n\xE1";
    ReplaceEntities(text, callback);
    EXPECT_EQ(text, "x\n" + seen[0]->text + "%replace_entities\n\xE1");
}

}  // namespace
