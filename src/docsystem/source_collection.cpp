#include "docsystem/source_collection.h"

#include "docsystem/document_path.h"
#include "docsystem/latex_comments.h"
#include "docsystem/template_directory.h"
#include "utils/file_utils.h"
#include "utils/string_utils.h"

#include <algorithm>
#include <stdexcept>

namespace {

constexpr std::string_view inputCommand = "\\input{";
constexpr std::string_view graphicExtension = ".eps";

// A file on the current chain of \input files: the path as referenced and the file it names.
struct IncludedFile {
    std::string path;
    std::string canonicalPath;
};

struct Collection {
    std::string directory;
    std::vector<std::string>* extraFiles;
    SourceSet& sources;
    DocumentationCallback& callback;
    std::vector<IncludedFile> chain;
};

// The file name, numbered (intro1.tex, intro2.tex, ...) when the set already has it.
std::string UniqueUploadName(const std::string& path, const SourceSet& sources)
{
    const std::string fileName = utils::FileName(path);
    if (!sources.contains(fileName))
        return fileName;
    const std::string stem = utils::FileName(fileName, utils::Extension::Remove);
    const std::string extension = utils::FileExtension(fileName);
    for (unsigned number = 1;; ++number) {
        std::string candidate = stem + std::to_string(number) + "." + extension;
        if (!sources.contains(candidate))
            return candidate;
    }
}

[[noreturn]] void ThrowInclusionCycle(const std::vector<IncludedFile>& cycle)
{
    std::string message = "The \\input files include each other in a cycle:";
    for (const IncludedFile& file : cycle)
        message += (&file == &cycle.front() ? "\n" : " includes\n") + file.path;
    throw std::runtime_error(message);
}

void RefuseCycle(const Collection& collection, const IncludedFile& file)
{
    const auto& chain = collection.chain;
    const auto repeated = std::find_if(chain.begin(), chain.end(), [&file](const IncludedFile& entry) {
        return entry.canonicalPath == file.canonicalPath;
    });
    if (repeated == chain.end())
        return;
    std::vector<IncludedFile> cycle(repeated, chain.end());
    cycle.push_back(file);
    ThrowInclusionCycle(cycle);
}

std::string Collect(Collection& collection, const std::string& path);

std::string IncludedFilePath(const Collection& collection, const std::string& reference)
{
    const std::string fileName = reference + ".tex";
    if (fileName == "ccmds.tex")
        return TemplateDirectory(collection.callback) + "/ccmds.tex";
    return DocumentFilePath(collection.directory, fileName);
}

void CollectIncludedFiles(Collection& collection, std::string& text)
{
    for (std::size_t found = text.find(inputCommand); found != std::string::npos;) {
        if (IsInLatexComment(text, found)) {
            found = text.find(inputCommand, found + inputCommand.size());
            continue;
        }
        const std::size_t start = found + inputCommand.size();
        const std::size_t end = std::min(text.find('}', start), text.size());
        const std::string path = IncludedFilePath(collection, text.substr(start, end - start));
        if (!utils::FileExists(path)) {
            found = text.find(inputCommand, end);
            continue;
        }
        const std::string reference = utils::FileName(Collect(collection, path), utils::Extension::Remove);
        text.replace(start, end - start, reference);
        found = text.find(inputCommand, start + reference.size());
    }
}

void AddExtraFile(std::vector<std::string>& extraFiles, const std::string& path)
{
    if (std::find(extraFiles.begin(), extraFiles.end(), path) == extraFiles.end())
        extraFiles.push_back(path);
}

// Graphic names run back from ".eps" to the nearest "{"; they become flat, lower-case names.
void CollectGraphics(Collection& collection, std::string& text)
{
    for (std::size_t found = text.find(graphicExtension); found != std::string::npos;) {
        const std::size_t next = found + graphicExtension.size();
        if (IsInLatexComment(text, found)) {
            found = text.find(graphicExtension, next);
            continue;
        }
        const std::size_t brace = text.rfind('{', found);
        const std::size_t start = brace == std::string::npos ? 1 : brace + 1;
        const std::string name = text.substr(start, next - start);
        const std::string path = DocumentFilePath(collection.directory, name);
        if (!utils::FileExists(path)) {
            found = text.find(graphicExtension, next);
            continue;
        }
        AddExtraFile(*collection.extraFiles, path);
        const std::string uploadName = utils::ToLowerCase(utils::FileName(name));
        text.replace(start, next - start, uploadName);
        found = text.find(graphicExtension, start + uploadName.size());
    }
}

std::string Collect(Collection& collection, const std::string& path)
{
    std::string text = utils::ReadTextFile(path);
    IncludedFile file{path, utils::CanonicalPath(path)};
    RefuseCycle(collection, file);

    const std::string uploadName = UniqueUploadName(path, collection.sources);
    SourceFile& source = collection.sources[uploadName];
    source = SourceFile{path, std::move(text)};

    collection.chain.push_back(std::move(file));
    CollectIncludedFiles(collection, source.text);
    collection.chain.pop_back();
    if (collection.extraFiles)
        CollectGraphics(collection, source.text);
    return uploadName;
}

}  // namespace

std::string CollectSources(const std::string& directory, const std::string& filePath,
                           std::vector<std::string>* extraFiles, SourceSet& sources,
                           DocumentationCallback& callback)
{
    Collection collection{directory, extraFiles, sources, callback, {}};
    return Collect(collection, filePath);
}
