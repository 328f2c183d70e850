#include "docsystem/entity_replacement.h"
#include "docsystem/latex_comments.h"
#include "docsystem/source_encoding.h"
#include "docsystem/source_preamble.h"
#include "docsystem_test_support.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <random>
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

std::string Prepared(std::string text, const SourcePreamble& preamble, TextEncoding encoding = TextEncoding::Legacy)
{
    SourceLineMap lines(text);
    ApplySourcePreamble(text, lines, preamble, encoding);
    return text;
}

// A preamble whose legacy sources get these pairs and this text.
SourcePreamble LegacyPreamble(std::vector<EntityPair> pairs, std::string text = {})
{
    SourcePreamble preamble;
    preamble.legacy.entityPairs = std::move(pairs);
    preamble.legacy.text = std::move(text);
    return preamble;
}

std::string ReadSourceFile(const std::string& relativePath)
{
    std::ifstream file(std::string(QUILLWRIGHT_SOURCE_DIR) + "/" + relativePath, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

// The preamble of the real template, with the real post-processing rules numbered from 1.
SourcePreamble TemplatePreamble()
{
    PostProcessTable rules;
    std::int32_t firstId = 1;
    rules.Load(std::string(QUILLWRIGHT_SOURCE_DIR) + "/template/postprocess.txt", firstId);
    return BuildSourcePreamble(ReadSourceFile("template/preprocess.txt"), rules);
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
    EXPECT_EQ(preamble.legacy.text, "\\newcommand{\\ae}{\xE6}\n"
                                    "\\newcommand{\\guillemotleft}[1]{<<#1}}\n"
                                    "\\begin{htmlonly}\n\\end{htmlonly}\n");
    ASSERT_EQ(preamble.legacy.entityPairs.size(), 6u);
    EXPECT_EQ(preamble.legacy.entityPairs[1].from, "\x9A");
    EXPECT_EQ(preamble.legacy.entityPairs[1].to, "\\v{s}");
    EXPECT_EQ(preamble.legacy.entityPairs[3].to, "\\'{a}");
    EXPECT_TRUE(preamble.legacy.knownCommands.contains("ss"));
    EXPECT_TRUE(preamble.legacy.knownCommands.contains("ae"));
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
    const std::vector<EntityPair>& pairs = preamble.utf8.entityPairs;  // all ASCII: both encodings
    ASSERT_EQ(pairs.size(), 5u);
    EXPECT_EQ(pairs[0].from, "\b\n\r\t");
    EXPECT_EQ(pairs[1].from, "A");
    EXPECT_EQ(pairs[1].to, "\"");
    EXPECT_EQ(pairs[2].from, "a b");
    EXPECT_EQ(pairs[2].to, "\"quoted\"");
    EXPECT_EQ(pairs[3].from, "\"");  // two quotes in a row are one literal quote
    EXPECT_EQ(pairs[4].from, "trailing\\");
}

TEST(SourcePreambleTest, EmptyEntityTextReplacesNothing)
{
    EXPECT_EQ(Prepared("aa", LegacyPreamble({{"", "x"}, {"a", "b"}})), "bb");
}

TEST(SourcePreambleTest, RulesBecomeMarkerCommandsInMapOrder)
{
    FixtureTree tree;
    const PostProcessTable rules = RulesFrom(tree, "tm|<sup>TM</sup>\nkey,kbd|<kbd>|</kbd>\nhint|<p>|</p>\n", 5);
    const SourcePreamble preamble = BuildSourcePreamble("", rules);
    const std::string markers = "\\begin{htmlonly}\n"
                                "\\newcommand{\\hint}[1]{{888888890007.#1.99999999}}\n"
                                "\\newcommand{\\key}[1]{{888888890006.#1.99999999}}\n"
                                "\\newcommand{\\kbd}[1]{{888888890006.#1.99999999}}\n"
                                "\\newcommand{\\tm}{{888888870005.}}\n"
                                "\\end{htmlonly}\n";
    EXPECT_EQ(preamble.legacy.text, markers);
    EXPECT_EQ(preamble.utf8.text, markers);
}

TEST(SourcePreambleTest, TemplateEntitiesCoverBothCodePagesInEitherEncoding)
{
    const SourcePreamble preamble = BuildSourcePreamble(ReadSourceFile("template/preprocess.txt"), PostProcessTable());

    // The notes of the file make no pair; each code page letter has one line per encoding.
    EXPECT_EQ(preamble.legacy.entityPairs.size(), 80u);
    EXPECT_EQ(preamble.utf8.entityPairs.size(), 115u);
    // Accent commands of LaTeX itself are never defined again, and nothing without a name is.
    EXPECT_THAT(preamble.legacy.text, Not(HasSubstr("\\newcommand")));
    EXPECT_THAT(preamble.utf8.text, Not(HasSubstr("\\newcommand")));
    const std::string latex = "\\'{a}\\'{e}\\'{i}\\'{o}\\'{u}\\'{y}\\\"{a}\\\"{o}\\\"{u}\\ss{}\\v{c}\\v{s}\\v{z}\\v{r}"
                              "\\r{u}\\l{}\\k{a}\\H{o}";
    EXPECT_EQ(Prepared("\xE1\xE9\xED\xF3\xFA\xFD\xE4\xF6\xFC\xDF\xE8\x9A\x9E\xF8\xF9\xB3\xB9\xF5", preamble), latex);
    EXPECT_EQ(Prepared("áéíóúýäöüßčšžřůłąő", preamble, TextEncoding::Utf8), latex);
    // Where the code pages differ at one byte, a UTF-8 text has both letters.
    EXPECT_EQ(Prepared("èč œś Øř ÿ Þţ ð", preamble, TextEncoding::Utf8),
              "\\`{e}\\v{c} \\oe{}\\'{s} \\O{}\\v{r} \\\"{y} \\TH{}\\c{t} \\dh{}");
    // Characters outside both code pages, symbols and the letters the HTML conversion could not
    // take as commands stay for LaTeX to read.
    EXPECT_EQ(Prepared("Ωж€“ ªµ Đđ", preamble, TextEncoding::Utf8), "Ωж€“ ªµ Đđ");
}

TEST(SourcePreambleTest, PairsGoToTheEncodingsTheirTextsBelongTo)
{
    const SourcePreamble preamble = BuildSourcePreamble("latexcommand v\n"
                                                        "<< \\\\guillemotleft{}\n"
                                                        "\\230 \\\\aeligature{}\n"
                                                        "\\195\\166 \\\\aeligature{}\n"
                                                        "\\154 \\\\v{s}\n"
                                                        "\\197\\161 \\\\v{s}\n"
                                                        "\\195\\233 \\\\broken{}\n",  // a lead byte and a legacy letter
                                                        PostProcessTable());
    ASSERT_EQ(preamble.legacy.entityPairs.size(), 4u);
    EXPECT_EQ(preamble.legacy.entityPairs[1].from, "\xE6");
    EXPECT_EQ(preamble.legacy.entityPairs[3].from, "\xC3\xE9");
    ASSERT_EQ(preamble.utf8.entityPairs.size(), 3u);
    EXPECT_EQ(preamble.utf8.entityPairs[0].from, "<<");
    EXPECT_EQ(preamble.utf8.entityPairs[1].from, "æ");
    EXPECT_EQ(preamble.utf8.entityPairs[2].from, "š");
    // Each encoding defines a command with the text of its own first pair, so that a UTF-8 source
    // never receives a legacy byte through its preamble.
    EXPECT_THAT(preamble.legacy.text, HasSubstr("\\newcommand{\\aeligature}{\xE6}\n"));
    EXPECT_THAT(preamble.utf8.text, HasSubstr("\\newcommand{\\aeligature}{æ}\n"));
    EXPECT_THAT(preamble.utf8.text, HasSubstr("\\newcommand{\\guillemotleft}{<<}\n"));
    EXPECT_THAT(preamble.utf8.text, Not(HasSubstr("broken")));
}

// Random UTF-8 texts of table letters, other characters, comments and escapes: replacing the real
// table's entities never leaves an invalid sequence, and no table letter outside a comment.
TEST(SourcePreambleTest, Utf8TextsStayValidUtf8WithTheRealTable)
{
    const SourcePreamble preamble = TemplatePreamble();
    std::vector<std::string> pieces = {"a", "Z", " ", "\n", "%", "\\", "{", "}", "%replace_entities", "Ω", "€", "😀", "ж", "ª"};
    for (const EntityPair& pair : preamble.utf8.entityPairs)
        pieces.push_back(pair.from);
    std::mt19937 random(20261206);
    for (int round = 0; round < 2000; ++round) {
        std::string text = "x";
        const int length = std::uniform_int_distribution<int>(0, 60)(random);
        for (int piece = 0; piece < length; ++piece)
            text += pieces[std::uniform_int_distribution<std::size_t>(0, pieces.size() - 1)(random)];
        const std::string prepared = Prepared(text, preamble, TextEncoding::Utf8);
        // Text before a marker is left alone; after it (or everywhere without one) only comments
        // keep their letters.
        const std::size_t marker = prepared.find("%replace_entities");
        for (std::size_t index = 0; index < prepared.size();) {
            const utf8::Character character = utf8::DecodeAt(prepared, index);
            ASSERT_TRUE(character.valid) << "byte " << index << " of the text prepared from\n" << text;
            const std::string letter = prepared.substr(index, static_cast<std::size_t>(character.length));
            const bool replaced = marker == std::string::npos || index > marker;
            const bool tableLetter = std::any_of(preamble.utf8.entityPairs.begin(), preamble.utf8.entityPairs.end(),
                                                 [&](const EntityPair& pair) { return pair.from == letter; });
            EXPECT_FALSE(replaced && tableLetter && !IsInLatexComment(prepared, index)) << letter << " kept in\n" << prepared;
            index += static_cast<std::size_t>(character.length);
        }
    }
}

TEST(SourcePreambleTest, LegacySourcesGiveTodaysBytes)
{
    const SourcePreamble preamble = TemplatePreamble();
    for (const auto& [source, golden] : {std::pair{"examples/czech.tex", "tests/docsystem/golden/czech.prepared.tex"},
                                         std::pair{"tests/docsystem/golden/western-1252.tex",
                                                   "tests/docsystem/golden/western-1252.prepared.tex"}}) {
        const std::string text = ReadSourceFile(source);
        ASSERT_FALSE(text.empty()) << source;
        ASSERT_EQ(DetectedEncoding(text), TextEncoding::Legacy) << source;
        EXPECT_EQ(Prepared(text, preamble), ReadSourceFile(golden)) << source;
    }
}

TEST(SourcePreambleTest, PreambleGoesBeforeTheMarkerAndEntitiesAreReplacedAfterIt)
{
    const SourcePreamble preamble = LegacyPreamble({{"\xE1", "\\'{a}"}, {"a", "aa"}}, "\\newcommand{\\x}{y}\n");
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
    const SourcePreamble preamble = LegacyPreamble({{"\xE1", "\\'{a}"}, {"!", "%"}});
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
    SourceLineMap lines(text);
    ReplaceEntities(text, lines, TextEncoding::Legacy, callback);
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
    EXPECT_TRUE(seen[0]->legacy.entityPairs.empty());

    program.Write("template/preprocess.txt", "\\225 \\\\'{a}\n");
    EXPECT_EQ(SharedSourcePreamble(callback), seen[0]);
    text = "x\n%replace_entities\n\xE1";
    lines = SourceLineMap(text);
    ReplaceEntities(text, lines, TextEncoding::Legacy, callback);
    EXPECT_EQ(text, "x\n" + seen[0]->legacy.text + "%replace_entities\n\xE1");
}

}  // namespace
