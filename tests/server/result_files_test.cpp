#include "result_files.h"
#include "scratch_directory.h"

#include <gtest/gtest.h>

namespace torvel {
namespace {

std::vector<std::string> Names(const std::vector<ResultFile>& files)
{
    std::vector<std::string> names;
    for (const auto& file : files)
        names.push_back(file.name);
    return names;
}

TEST(ResultFiles, AnnouncesWhatTheRequestsMatchInRequestOrder)
{
    torvel_test::ScratchDirectory work;
    work.Write("paper.log", "log");
    work.Write("paper.ps", "%!PS");
    work.Write("paper/index.html", "<html>");
    work.Write("paper/paper.html", "<html>");
    work.Write("paper/img2.png", "png2");
    work.Write("paper/img1.png", "png1");
    work.Write("paper/images.log", "not asked for");
    const auto files = FindResultFiles(work.Path(), {{"*.log", TransferForm::Text},
                                                     {"*.bin", TransferForm::Binary},
                                                     {"paper/*.html", TransferForm::Text},
                                                     {"paper/*.png", TransferForm::Binary},
                                                     {"paper.pdf", TransferForm::Binary},
                                                     {"paper.ps", TransferForm::Text}});
    EXPECT_EQ(Names(files), (std::vector<std::string>{"paper.log", "index.html", "paper.html", "img1.png", "img2.png",
                                                      "paper.ps"}));
    EXPECT_EQ(files[3].size, 4u);
    EXPECT_EQ(files[0].path, work.Path() / "paper.log");
}

TEST(ResultFiles, AnnouncesAFileOnlyOnce)
{
    torvel_test::ScratchDirectory work;
    work.Write("paper.log", "log");
    EXPECT_EQ(FindResultFiles(work.Path(), {{"*.log", TransferForm::Text}, {"paper.log", TransferForm::Text}}).size(), 1u);
}

TEST(ResultFiles, NeverFollowsSymbolicLinks)
{
    torvel_test::ScratchDirectory scratch;
    const auto secret = scratch.Write("secret.log", "secret");
    std::filesystem::create_directories(scratch.Path() / "work");
    std::filesystem::create_symlink(secret, scratch.Path() / "work/stolen.log");
    std::filesystem::create_symlink(scratch.Path(), scratch.Path() / "work/paper");
    const auto files = FindResultFiles(scratch.Path() / "work", {{"*.log", TransferForm::Text},
                                                                 {"paper/*.log", TransferForm::Text}});
    EXPECT_TRUE(files.empty());
}

TEST(ResultFiles, SkipsNamesTheClientCouldNotSplit)
{
    torvel_test::ScratchDirectory work;
    work.Write("a:b.log", "x");
    work.Write("q\"uote.log", "x");
    work.Write("plain.log", "x");
    EXPECT_EQ(Names(FindResultFiles(work.Path(), {{"*.log", TransferForm::Text}})), (std::vector<std::string>{"plain.log"}));
}

}  // namespace
}  // namespace torvel
