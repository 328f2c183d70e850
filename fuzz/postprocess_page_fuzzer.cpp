// Post-processes arbitrary bytes as an HTML page: the template's rules plus rules whose texts are
// made of markers and tags, with the settings chosen by the first byte.

#include "docsystem/html_postprocessing.h"
#include "fuzz_scratch_directory.h"

#include <cstddef>
#include <cstdint>

namespace {

const PostProcessTable& Rules()
{
    static const PostProcessTable rules = [] {
        const FuzzScratchDirectory scratch;
        PostProcessTable table;
        std::int32_t nextId = 1;
        table.Load(SourceTemplateDirectory() + "/postprocess.txt", nextId);
        table.Load(scratch.Write("extra.txt", "self|888888870008.\n"
                                              "loop|<a>888888890009.|.99999999</a>\n"
                                              "x_y|<i src=\"|\">\n"
                                              "tag|<|>\n"
                                              "empty||\n"),
                   nextId);
        return table;
    }();
    return rules;
}

DocumentSettings SettingsFor(std::uint8_t choice)
{
    DocumentSettings settings;
    if (choice & 0x01)
        settings.styleSheet = "site.css";
    if (choice & 0x02)
        settings.encoding = "windows-1250";
    if (choice & 0x04)
        settings.headCommands = {"<meta name=\"a\">", "</HEAD>"};
    if (choice & 0x08)
        settings.footer = "<HR>\r\n\r\n</BODY>";
    return settings;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const std::uint8_t choice = data[0];
    utils::TextBuffer page(std::string_view(reinterpret_cast<const char*>(data) + 1, size - 1));
    std::vector<std::string> images;
    const std::string pagePath = (choice & 0x10) ? "/out/paper/index.html" : "/out/paper/node3.html";
    PostProcessHtmlText(page, pagePath, SettingsFor(choice), Rules(), images, "paper");
    return 0;
}
