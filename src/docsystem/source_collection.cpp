#include "docsystem/source_collection.h"

#include "docsystem/collected_references.h"
#include "docsystem/command_arguments.h"
#include "docsystem/document_path.h"
#include "docsystem/latex_comments.h"
#include "docsystem/template_directory.h"
#include "utils/file_utils.h"
#include "utils/string_utils.h"

#include <algorithm>
#include <filesystem>
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
    OutputMode mode;
    std::vector<std::string>* extraFiles;
    SourceSet& sources;
    DocumentationCallback& callback;
    std::vector<IncludedFile> chain;
    std::vector<std::string> collectedNames;  // upload names of this collection, in reading order
    std::vector<std::string> graphicsPath;    // directories of \graphicspath, relative to `directory`
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

// Extra files are uploaded under their lower-cased file name, so two different files of one such
// name cannot both go.
void AddExtraFile(std::vector<std::string>& extraFiles, const std::string& path)
{
    const auto samePath = [&path](const std::string& other) {
        return std::filesystem::path(other).lexically_normal() == std::filesystem::path(path).lexically_normal();
    };
    if (std::find_if(extraFiles.begin(), extraFiles.end(), samePath) != extraFiles.end())
        return;
    const std::string uploadName = utils::ToLowerCase(utils::FileName(path));
    const auto namesake = std::find_if(extraFiles.begin(), extraFiles.end(), [&uploadName](const std::string& other) {
        return utils::ToLowerCase(utils::FileName(other)) == uploadName;
    });
    if (namesake != extraFiles.end())
        throw std::runtime_error("Two files would be uploaded as \"" + uploadName + "\":\n" + *namesake + "\n" + path +
                                 "\nRename one of them.");
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
    SourceLineMap lines(text);
    source = SourceFile{path, std::move(text), std::move(lines)};

    collection.collectedNames.push_back(uploadName);
    collection.chain.push_back(std::move(file));
    CollectIncludedFiles(collection, source.text);
    collection.chain.pop_back();
    if (collection.extraFiles)
        CollectGraphics(collection, source.text);
    return uploadName;
}

bool IsRegularFile(const std::string& path)
{
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

std::vector<std::string> SearchDirectories(const Collection& collection, SearchPlace place)
{
    std::vector<std::string> directories = {collection.directory};
    if (place == SearchPlace::GraphicsPath) {
        for (const std::string& entry : collection.graphicsPath)
            directories.push_back(utils::StartsWithCharacter(entry, '/') ? entry
                                                                         : DocumentFilePath(collection.directory, entry));
    }
    return directories;
}

std::vector<std::string> CandidateNames(const Collection& collection, const ReferenceKind& kind, const std::string& name)
{
    switch (kind.completion) {
    case Completion::AsWritten:
        return {name};
    case Completion::FixedExtension:
        return {utils::EndsWith(name, kind.extension) ? name : name + std::string(kind.extension)};
    case Completion::GraphicExtensions:
        break;
    }
    if (HasGraphicExtension(name))
        return {name};
    std::vector<std::string> names;
    for (const std::string& extension : GraphicExtensions(collection.mode))
        names.push_back(name + extension);
    return names;
}

// The file a name of a command stands for, searched as graphicx, LaTeX or BibTeX would; empty when
// none is there (the server's TeX then finds it or reports it missing).
std::string ReferencedFile(const Collection& collection, const ReferenceKind& kind, const std::string& name)
{
    for (const std::string& directory : SearchDirectories(collection, kind.place)) {
        for (const std::string& candidate : CandidateNames(collection, kind, name)) {
            const std::string path = DocumentFilePath(directory, candidate);
            if (IsRegularFile(path))
                return std::filesystem::path(path).lexically_normal().string();
        }
    }
    return {};
}

void CollectReferences(Collection& collection, std::string& text, const ReferenceKind& kind)
{
    for (std::size_t found = text.find(kind.command); found != std::string::npos;
         found = text.find(kind.command, found + 1)) {
        if (IsInLatexComment(text, found))
            continue;
        const auto argument = CommandArgument(text, found + kind.command.size(), kind.form);
        if (!argument)
            continue;
        const auto spans = NameSpans(text, *argument, kind.form);
        // Right to left, so that rewriting a name keeps the spans before it.
        for (auto span = spans.rbegin(); span != spans.rend(); ++span) {
            const std::string name = text.substr(span->start, span->length);
            const std::string path = ReferencedFile(collection, kind, name);
            if (path.empty())
                continue;
            AddExtraFile(*collection.extraFiles, path);
            text.replace(span->start, span->length, utils::ToLowerCase(utils::FileName(name)));
        }
    }
}

// The directories of every \graphicspath{{a/}{b/}} in the collected texts, in order.
std::vector<std::string> GraphicsPath(const Collection& collection)
{
    constexpr std::string_view command = "\\graphicspath";
    std::vector<std::string> directories;
    for (const std::string& name : collection.collectedNames) {
        const std::string& text = collection.sources.at(name).text;
        for (std::size_t found = text.find(command); found != std::string::npos; found = text.find(command, found + 1)) {
            if (IsInLatexComment(text, found))
                continue;
            std::size_t position = text.find_first_not_of(utils::kWhitespace, found + command.size());
            if (position == std::string::npos || text[position] != '{')
                continue;
            for (++position; position < text.size() && text[position] == '{';) {
                const std::size_t end = text.find('}', position);
                if (end == std::string::npos)
                    break;
                directories.push_back(text.substr(position + 1, end - position - 1));
                position = text.find_first_not_of(utils::kWhitespace, end + 1);
            }
        }
    }
    return directories;
}

void CollectFilesBesideTheDocument(Collection& collection)
{
    const auto& extensions = ExtensionsUploadedFromBesideTheDocument();
    std::vector<std::string> paths;
    std::error_code error;
    for (auto entry = std::filesystem::directory_iterator(collection.directory, error);
         !error && entry != std::filesystem::directory_iterator(); entry.increment(error)) {
        const std::string extension = entry->path().extension().string();
        if (std::find(extensions.begin(), extensions.end(), extension) != extensions.end() &&
            IsRegularFile(entry->path().string()))
            paths.push_back(entry->path().string());
    }
    std::sort(paths.begin(), paths.end());
    for (const std::string& path : paths)
        AddExtraFile(*collection.extraFiles, path);
}

void CollectReferences(Collection& collection, std::string& text)
{
    for (const ReferenceKind& kind : CollectedReferenceKinds())
        CollectReferences(collection, text, kind);
}

// Classes, packages, bibliographies and figures of every format named in the collected texts, and
// in the classes, packages and letter options so found (a letter option names its logo). Those
// are uploaded as they are, so only what they name beside the document under its own name works.
void CollectReferencedFiles(Collection& collection)
{
    collection.graphicsPath = GraphicsPath(collection);
    std::vector<std::string>& extraFiles = *collection.extraFiles;
    std::size_t next = extraFiles.size();
    for (const std::string& name : collection.collectedNames)
        CollectReferences(collection, collection.sources.at(name).text);
    const auto& namingFiles = ExtensionsThatNameFiles();
    for (; next < extraFiles.size(); ++next) {
        const std::string extension = std::filesystem::path(extraFiles[next]).extension().string();
        if (std::find(namingFiles.begin(), namingFiles.end(), extension) == namingFiles.end())
            continue;
        std::string text = utils::ReadTextFile(extraFiles[next]);
        CollectReferences(collection, text);
    }
    CollectFilesBesideTheDocument(collection);
}

}  // namespace

std::string CollectSources(const std::string& directory, const std::string& filePath, OutputMode mode,
                           std::vector<std::string>* extraFiles, SourceSet& sources,
                           DocumentationCallback& callback)
{
    Collection collection{directory, mode, extraFiles, sources, callback, {}, {}, {}};
    const std::string uploadName = Collect(collection, filePath);
    if (extraFiles)
        CollectReferencedFiles(collection);
    return uploadName;
}
