#include "docsystem/upload_plan.h"

#include "utils/error_reporting.h"
#include "utils/file_utils.h"
#include "utils/regular_file.h"
#include "utils/string_utils.h"

#include <algorithm>
#include <filesystem>
#include <sys/stat.h>

namespace {

// Whether path is to be uploaded, and its size. Missing files and directories (a wildcard may match
// one) are no uploads; anything else must open as a regular file now, before its "put" line
// promises its bytes: a named pipe would block the upload, a device never end.
bool FileToUpload(const std::string& path, std::uint64_t& size)
{
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(path, error);
    if (!std::filesystem::exists(status) || std::filesystem::is_directory(status))
        return false;
    const std::string failure = "failed to open file\n" + path + "\n";
    const utils::FileDescriptor file = utils::OpenRegularFileForReadingOrThrow(path, failure);
    struct stat fileStatus {};
    if (::fstat(file.Get(), &fileStatus) != 0)
        utils::ThrowSystemErrorWithPrefix(failure);
    size = static_cast<std::uint64_t>(fileStatus.st_size);
    return true;
}

void PlanTemplateFile(const std::string& templateDirectory, const std::string& name, std::vector<PlannedUpload>& uploads)
{
    PlannedUpload upload{name, 0, TransferForm::Text, nullptr, templateDirectory + "/" + name};
    if (FileToUpload(upload.path, upload.size))
        uploads.push_back(std::move(upload));
}

// The form follows the extension as written: "EPS" is not "eps".
TransferForm FormOfExtraFile(const std::string& path)
{
    const std::string extension = utils::FileExtension(path);
    return extension == "eps" || extension == "bib" ? TransferForm::Text : TransferForm::Binary;
}

}  // namespace

std::vector<PlannedUpload> PlanUploads(const DocumentationJob& job, const std::string& templateDirectory)
{
    std::vector<PlannedUpload> uploads;
    for (const auto& [name, source] : job.sources)
        uploads.push_back({name, source.text.size(), TransferForm::Text, &source.text, {}});
    PlanTemplateFile(templateDirectory, "html.sty", uploads);
    PlanTemplateFile(templateDirectory, "postprocess.txt", uploads);
    for (const std::string& path : job.extraFiles) {
        PlannedUpload upload{utils::FileName(utils::ToLowerCase(path)), 0, FormOfExtraFile(path), nullptr, path};
        // A name already sent (the template's html.sty beside a document's own copy, a source named
        // again by a setting) goes once: the server refuses a name announced twice.
        const bool planned = std::any_of(uploads.begin(), uploads.end(),
                                         [&upload](const PlannedUpload& other) { return other.name == upload.name; });
        if (!planned && FileToUpload(path, upload.size))
            uploads.push_back(std::move(upload));
    }
    return uploads;
}

std::string PutLine(const PlannedUpload& upload)
{
    const char* form = upload.form == TransferForm::Text ? "dos" : "";
    return "put " + upload.name + ":" + std::to_string(upload.size) + ":" + form + "\n";
}

void SendUploads(utils::ServerConnection& connection, const std::vector<PlannedUpload>& uploads, TransferProgress& progress)
{
    for (const PlannedUpload& upload : uploads) {
        // The announced size is what the server counts on, so exactly that many bytes go out.
        if (upload.text != nullptr)
            connection.SendBlock(upload.text->data(), upload.size, ShowTransferProgress, &progress);
        else
            connection.SendFile(upload.path, upload.size, ShowTransferProgress, &progress);
        progress.completed += upload.size;
    }
}
