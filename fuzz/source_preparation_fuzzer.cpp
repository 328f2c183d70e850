// Collects and prepares a small document tree made from the input: the parts separated by zero
// bytes are the main file, three included files and the entity table; the first byte picks the
// output. Every preparation step then runs on every collected source.

#include "docsystem/conditional_sections.h"
#include "docsystem/document_settings_reader.h"
#include "docsystem/entity_replacement.h"
#include "docsystem/source_collection.h"
#include "docsystem/source_encoding.h"
#include "docsystem/translation_table.h"
#include "fuzz_scratch_directory.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace {

// Answers the program directory with the source tree, where ccmds.tex lives.
class SourceTreeCallback : public DocumentationCallback {
public:
    std::string GetParameter(JobParameter) override { return std::string(QUILLWRIGHT_SOURCE_DIR); }
    void ShowOutput(std::int32_t, const std::string&) override { __builtin_trap(); }
    void ShowLog(const std::string&, LogState) override { __builtin_trap(); }
    void SetProgressText(const std::string&) override { __builtin_trap(); }
};

const char* const sourceNames[] = {"paper.tex", "a.tex", "b.tex", "sub/c.tex"};

void WriteFixedFiles(const FuzzScratchDirectory& tree)
{
    tree.Write("fig.eps", "%!PS");
    tree.Write("figs/Plot.eps", "%!PS");
    tree.Write("table", "\xE4 \\\"a\nab x y\n");
}

const FuzzScratchDirectory& Tree()
{
    static const FuzzScratchDirectory tree;
    static const bool written = (WriteFixedFiles(tree), true);
    static_cast<void>(written);
    return tree;
}

const PostProcessTable& Rules()
{
    static const PostProcessTable rules = [] {
        PostProcessTable table;
        std::int32_t nextId = 1;
        table.Load(SourceTemplateDirectory() + "/postprocess.txt", nextId);
        return table;
    }();
    return rules;
}

std::string TemplateEntities()
{
    std::ifstream file(SourceTemplateDirectory() + "/preprocess.txt", std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

std::vector<std::string> Parts(const std::uint8_t* data, std::size_t size)
{
    std::vector<std::string> parts(1);
    for (std::size_t index = 0; index < size; ++index) {
        if (data[index] == 0)
            parts.emplace_back();
        else
            parts.back() += static_cast<char>(data[index]);
    }
    return parts;
}

void WriteSources(const std::vector<std::string>& parts)
{
    for (std::size_t index = 0; index < std::size(sourceNames); ++index) {
        std::error_code ignored;
        std::filesystem::remove(Tree().Path() + "/" + sourceNames[index], ignored);
        if (index < parts.size())
            Tree().Write(sourceNames[index], parts[index]);
    }
}

// Settings may name files; keep them inside the tree.
std::string WithoutDirectories(std::string text)
{
    std::erase_if(text, [](char character) { return character == '/' || character == '\\'; });
    return text;
}

void Prepare(SourceFile& source, DocumentationJob& job, const SourcePreamble& preamble)
{
    const TextEncoding encoding = DetectedEncoding(source.text);
    ApplyConditionalSections(source.text, source.lines, job.mode);
    ApplySourcePreamble(source.text, source.lines, preamble, encoding);
    if (source.lines.PreparedLineCount() != LineBreakCount(source.text) + 1)
        __builtin_trap();  // every prepared line has an original line
    try {
        ReadDocumentSettings(WithoutDirectories(source.text), job);
    } catch (const std::runtime_error&) {
        // a translation table that does not exist: reported to the user as a job error
    }
    ApplyTranslationTable(source.text, encoding, job);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    static const std::string templateEntities = TemplateEntities();
    SourceTreeCallback callback;
    DocumentationJob job;
    job.mode = static_cast<OutputMode>(data[0] % 3 + 1);
    job.documentPath = Tree().Path() + "/paper.tex";

    const std::vector<std::string> parts = Parts(data + 1, size - 1);
    WriteSources(parts);
    try {
        CollectSources(Tree().Path(), job.documentPath, job.mode, &job.extraFiles, job.sources, callback);
    } catch (const std::runtime_error&) {
        return 0;  // an inclusion cycle or two extra files of one name: reported to the user as a job error
    }
    for (const auto& [name, source] : job.sources) {
        if (name.find('/') != std::string::npos)
            __builtin_trap();  // upload names are flat
    }
    if (!job.sources.contains("paper.tex"))
        __builtin_trap();  // the main file keeps its name

    const SourcePreamble preamble = BuildSourcePreamble(parts.size() > 4 ? parts[4] : templateEntities, Rules());
    for (auto& [name, source] : job.sources)
        Prepare(source, job, preamble);
    return 0;
}
