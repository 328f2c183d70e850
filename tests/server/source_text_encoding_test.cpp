#include "scratch_directory.h"
#include "source_text_encoding.h"

#include <gtest/gtest.h>

namespace torvel_test {
namespace {

TEST(SourceTextEncodingTest, OnlyLatexSourcesWithUtf8BeyondAsciiCount)
{
    struct Case {
        const char* name;
        const char* file;
        std::string text;
        bool utf8Text;
    };
    const Case cases[] = {
        {"ASCII only, as the client's accents leave Czech letters", "paper.tex", "\\v{z}lu\\v{t}ou\\v{c}k\\'{y}\n", false},
        {"Windows-1250 letters", "paper.tex", "\x8Elu\x9Dou\xE8k\xFD\n", false},
        {"UTF-8 quotation marks", "chapter.tex", "„Uvozovky“\n", true},
        {"UTF-8 with one stray byte", "chapter.tex", "„Uvozovky“ \xE8\n", true},
        {"UTF-8 outside the sources", "paper.log", "„Uvozovky“\n", false},
        {"a directory named like a source", "dir.tex/inner.tex", "„Uvozovky“\n", false},
    };
    for (const Case& test : cases) {
        ScratchDirectory work;
        work.Write("main.tex", "\\documentclass{article}\n");
        work.Write(test.file, test.text);
        EXPECT_EQ(torvel::SourcesHoldUtf8Text(work.Path()), test.utf8Text) << test.name;
    }
    EXPECT_FALSE(torvel::SourcesHoldUtf8Text("/nonexistent-job-directory"));
}

}  // namespace
}  // namespace torvel_test
