#include "docsystem/result_download.h"

#include "docsystem/html_postprocessing.h"
#include "docsystem/result_file_observer.h"
#include "utils/string_utils.h"

#include <stdexcept>

namespace {

enum class Placement {
    DocumentDirectory,
    OutputDirectory,
    Discarded,
};

std::uint64_t ParseSize(const std::string& name, const std::string& text)
{
    const bool digitsOnly = !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
    // Eighteen digits always fit into the 64-bit size.
    if (!digitsOnly || text.size() > 18)
        throw std::runtime_error("The server announced the result file \"" + name + "\" with the size \"" + text
                                 + "\", which is not a byte count.");
    return std::stoull(text);
}

// The announced name reduced to its last path component; empty when that is no usable file name.
std::string SafeFileName(const std::string& announced)
{
    const std::string name = utils::FileName(announced);
    if (name.empty() || name == "." || name == ".." || name.find('\0') != std::string::npos)
        return {};
    return name;
}

Placement PlacementOf(const std::string& fileName, const JobNames& names)
{
    const std::string extension = utils::FileExtension(fileName);
    if (extension == "ps" || extension == "log" || extension == "bin" || extension == "pdf")
        return Placement::DocumentDirectory;
    // The page named after the document duplicates the index page.
    const bool page = extension == "html" || extension == "gif" || extension == "png";
    if (page && !utils::EqualIgnoringCase(fileName, names.baseName + ".html"))
        return Placement::OutputDirectory;
    return Placement::Discarded;
}

std::string ReceiveInto(utils::ServerConnection& connection, const std::string& path, const AnnouncedFile& file,
                        const DownloadTarget& target, TransferProgress& progress)
{
    connection.ReceiveFile(path, file.size, ShowTransferProgress, &progress);
    ReportResultFile(*target.job.callback, path);
    return path;
}

// Names may hold any byte; control bytes are shown as \xNN so that the message shows all of them.
std::string PrintableName(const std::string& name)
{
    const char* const digits = "0123456789abcdef";
    std::string printable;
    for (const char character : name) {
        const auto byte = static_cast<unsigned char>(character);
        if (byte >= 0x20)
            printable += character;
        else
            printable += std::string("\\x") + digits[byte >> 4] + digits[byte & 0xF];
    }
    return printable;
}

}  // namespace

AnnouncedFile ParseFileAnnouncement(const std::string& rest)
{
    const std::vector<std::string> parts = utils::SplitFields(rest, ':');
    if (parts.size() != 2)
        throw std::runtime_error("The server announced a result file as \"" + rest
                                 + "\", which is not a name and a size separated by a colon.");
    return {parts[0], ParseSize(parts[0], parts[1])};
}

std::vector<std::string> DownloadResults(utils::ServerConnection& connection, const std::vector<AnnouncedFile>& files,
                                         const DownloadTarget& target, TransferProgress& progress)
{
    std::vector<std::string> refused;
    for (const AnnouncedFile& file : files) {
        const std::string name = SafeFileName(file.name);
        if (name.empty())
            refused.push_back(file.name);
        const Placement placement = name.empty() ? Placement::Discarded : PlacementOf(name, target.names);
        if (placement == Placement::DocumentDirectory) {
            ReceiveInto(connection, ResultFilePath(target.names.documentDirectory, name, target.names), file, target, progress);
        } else if (placement == Placement::OutputDirectory) {
            const std::string path = ReceiveInto(connection, target.outputDirectory + "/" + name, file, target, progress);
            if (utils::FileExtension(name) == "html")
                PostProcessHtmlPage(target.job, path, target.externalImages, target.names.baseName);
        } else {
            connection.ReceiveBlock(nullptr, file.size, ShowTransferProgress, &progress);
        }
        progress.completed += file.size;
    }
    return refused;
}

void ThrowForRefusedNames(const std::vector<std::string>& refused)
{
    if (refused.empty())
        return;
    std::string list;
    for (const std::string& name : refused)
        list += "\n\"" + PrintableName(name) + "\"";
    throw std::runtime_error("The server sent result files whose names are not file names; they were not saved:" + list);
}
