#include "docsystem/upload_plan.h"

#include "utils/file_utils.h"
#include "utils/string_utils.h"

#include <algorithm>
#include <filesystem>

namespace {

// Whether path names a regular file, and its size; directories matched by a wildcard are no uploads.
bool FileToUpload(const std::string& path, std::uint64_t& size)
{
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error))
        return false;
    const std::int64_t bytes = utils::FileSize(path);
    if (bytes < 0)
        return false;
    size = static_cast<std::uint64_t>(bytes);
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
