#include "docsystem/postprocess_table.h"
#include "docsystem_test_support.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

using docsystem::testing::FixtureTree;
using ::testing::ElementsAre;

class PostProcessTableTest : public ::testing::Test {
protected:
    bool Load(const std::string& lines)
    {
        return table.Load(tree.Write("postprocess.txt", lines), nextId);
    }

    FixtureTree tree;
    PostProcessTable table;
    std::int32_t nextId = 1;
};

TEST_F(PostProcessTableTest, TwoAndThreeFieldLinesBecomeRules)
{
    ASSERT_TRUE(Load("tm | <sup>TM</sup> \r\n"
                     "key, kbd\t|<kbd class=\"key\">|</kbd>\n"
                     "a comment without separators\n"
                     "\n"
                     "x|y|z|w\n"
                     "|before only\n"));
    ASSERT_EQ(table.Rules().size(), 3u);
    const PostProcessRule* tm = table.FindById(1);
    ASSERT_NE(tm, nullptr);
    EXPECT_THAT(tm->names, ElementsAre("tm"));
    EXPECT_EQ(tm->before, "<sup>TM</sup>");
    EXPECT_FALSE(tm->hasArgument);
    const PostProcessRule* key = table.FindById(2);
    ASSERT_NE(key, nullptr);
    EXPECT_THAT(key->names, ElementsAre("key", "kbd"));
    EXPECT_EQ(key->before, "<kbd class=\"key\">");  // quotes stay
    EXPECT_EQ(key->after, "</kbd>");
    EXPECT_TRUE(key->hasArgument);
    const PostProcessRule* empty = table.FindById(3);
    ASSERT_NE(empty, nullptr);
    EXPECT_THAT(empty->names, ElementsAre(""));
    EXPECT_EQ(nextId, 4);
}

TEST_F(PostProcessTableTest, LaterRuleWithTheSameNamesIsDroppedButNumbered)
{
    ASSERT_TRUE(Load("note|<p>|</p>\nnote|<div>\nother|<b>\n"));
    EXPECT_EQ(table.Rules().size(), 2u);
    EXPECT_EQ(table.FindById(2), table.FindById(1));
    EXPECT_EQ(table.FindById(2)->before, "<p>");
    EXPECT_EQ(table.FindById(3)->before, "<b>");
    EXPECT_EQ(table.FindById(4), nullptr);
}

TEST_F(PostProcessTableTest, FirstNameLookupFollowsMapOrder)
{
    ASSERT_TRUE(Load("b,z|second\nb|first\nbb|third\na,b|fourth\n"));
    ASSERT_NE(table.FindByFirstName("b"), nullptr);
    EXPECT_EQ(table.FindByFirstName("b")->before, "first");
    EXPECT_EQ(table.FindByFirstName("bb")->before, "third");
    EXPECT_EQ(table.FindByFirstName("a")->before, "fourth");
    EXPECT_EQ(table.FindByFirstName("z"), nullptr);
    EXPECT_EQ(table.FindByFirstName(""), nullptr);
}

TEST_F(PostProcessTableTest, MissingFileLoadsNothing)
{
    EXPECT_FALSE(table.Load(tree.Path("absent.txt"), nextId));
    EXPECT_TRUE(table.IsEmpty());
    EXPECT_EQ(nextId, 1);
}

TEST_F(PostProcessTableTest, SharedTableIsFilledOnceAndNumberedForTheProcess)
{
    if (!SharedPostProcessTable()->IsEmpty())
        GTEST_SKIP() << "an earlier test of this process filled the shared table";
    EXPECT_FALSE(LoadPostProcessTable(tree.Path("absent.txt")));
    EXPECT_TRUE(SharedPostProcessTable()->IsEmpty());

    const std::string path = tree.Write("template/postprocess.txt", "hint|<p>|</p>\ntm|<sup>TM</sup>\n");
    const auto before = SharedPostProcessTable();
    EXPECT_TRUE(LoadPostProcessTable(path));
    const auto loaded = SharedPostProcessTable();
    EXPECT_EQ(loaded->Rules().size(), 2u);
    EXPECT_TRUE(before->IsEmpty());  // earlier snapshots stay as they were

    tree.Write("template/postprocess.txt", "other|<i>\n");
    EXPECT_TRUE(LoadPostProcessTable(path));
    EXPECT_EQ(SharedPostProcessTable(), loaded);
    EXPECT_NE(loaded->FindByFirstName("hint"), nullptr);
}

TEST_F(PostProcessTableTest, TemplateRulesLoad)
{
    ASSERT_TRUE(table.Load(std::string(QUILLWRIGHT_SOURCE_DIR) + "/template/postprocess.txt", nextId));
    for (const char* name : {"hint", "warning", "note", "key", "file", "menu", "tm"})
        EXPECT_NE(table.FindByFirstName(name), nullptr) << name;
    EXPECT_TRUE(table.FindByFirstName("hint")->hasArgument);
    EXPECT_FALSE(table.FindByFirstName("tm")->hasArgument);
}

}  // namespace
