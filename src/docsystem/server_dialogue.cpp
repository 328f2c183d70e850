#include "docsystem/server_dialogue.h"

#include "docsystem/dialogue_limits.h"
#include "docsystem/job_names.h"
#include "docsystem/latex_log.h"
#include "docsystem/result_download.h"
#include "docsystem/server_greeting.h"
#include "docsystem/source_preparation.h"
#include "docsystem/template_directory.h"
#include "docsystem/upload_plan.h"
#include "utils/file_utils.h"
#include "utils/string_table.h"
#include "utils/string_utils.h"

#include <filesystem>
#include <stdexcept>

namespace {

constexpr unsigned int kSendingFiles = 8;
constexpr unsigned int kWaitingForReply = 9;
constexpr unsigned int kConnecting = 135;
constexpr unsigned int kGeneratingSource = 136;
constexpr unsigned int kReceivingFiles = 137;

void ShowProgress(DocumentationJob& job, unsigned int textId)
{
    job.callback->SetProgressText(utils::LoadResourceString(textId));
}

bool ParameterIsSet(DocumentationJob& job, JobParameter parameter)
{
    return utils::FromDecimalText(job.callback->GetParameter(parameter)) != 0;
}

std::string ServiceName(const DocumentationJob& job)
{
    switch (job.mode) {
    case OutputMode::PostScript:
        return job.settings.processor.empty() ? "tex2ps" : job.settings.processor;
    case OutputMode::Pdf:
        return "tex2pdf";
    case OutputMode::Html:
        return job.settings.language == "czech" ? "cstex2html" : "tex2html";
    }
    throw std::logic_error("unknown output mode");
}

std::string RunAndResultLines(DocumentationJob& job, const std::string& service, const std::string& base)
{
    const std::string run = "run " + service + " " + base + ".tex";
    switch (job.mode) {
    case OutputMode::PostScript:
        return run + "\nget " + base + ".ps:dos\n";
    case OutputMode::Pdf:
        return run + "\nget " + base + ".pdf:\n";
    case OutputMode::Html: {
        const std::string options = job.settings.commandLine.empty() ? job.callback->GetParameter(JobParameter::HtmlOptions)
                                                                      : job.settings.commandLine;
        return run + " " + options + "\nmget " + base + "/*.html:dos\nmget " + base + "/*.gif:\nmget " + base + "/*.png:\n";
    }
    }
    throw std::logic_error("unknown output mode");
}

// The rest of the command script after the greeting, sent in one piece.
void SendScript(utils::ServerConnection& connection, DocumentationJob& job, const JobNames& names,
                const std::vector<PlannedUpload>& uploads, TransferProgress& progress)
{
    const std::string service = ServiceName(job);
    std::string script = "service " + service + "\n";
    for (const PlannedUpload& upload : uploads) {
        script += PutLine(upload);
        progress.total += upload.size;
    }
    script += "mget *.log:dos\nmget *.bin:\n";
    script += RunAndResultLines(job, service, names.baseName);
    script += "commit\n";
    connection.SendText(script);
}

void AwaitFirstCommit(utils::ServerConnection& connection)
{
    for (;;) {
        const utils::ServerReply reply = connection.ReadReply();
        if (reply.word == "commit")
            return;
        if (reply.word == "abort")
            ThrowConnectionAborted(reply.rest);
    }
}

// Announcements past the size limit end the job before any byte of a result is written.
std::vector<AnnouncedFile> AwaitResults(utils::ServerConnection& connection, const DialogueLimits& limits,
                                        TransferProgress& progress)
{
    std::vector<AnnouncedFile> files;
    for (;;) {
        const utils::ServerReply reply = connection.ReadReply();
        if (reply.word == "commit")
            return files;
        if (reply.word == "abort")
            ThrowConnectionAborted(reply.rest);
        if (reply.word == "file") {
            AnnouncedFile file = ParseFileAnnouncement(reply.rest);
            limits.CheckAnnouncedResult(file.name, file.size, progress.total);
            progress.total += file.size;
            files.push_back(std::move(file));
        }
    }
}

void ShowResults(DocumentationJob& job, const JobNames& names)
{
    if (job.mode == OutputMode::PostScript && ParameterIsSet(job, JobParameter::ShowPostScript))
        job.callback->ShowOutput(2, names.documentDirectory + "/" + names.documentBaseName + ".ps");
    const std::string logPath = names.documentDirectory + "/" + names.documentBaseName + ".log";
    ReportLatexLog(job, logPath);
}

void CopyExternalImages(const std::vector<std::string>& images, const std::string& templateDirectory,
                        const std::string& outputDirectory)
{
    for (const std::string& image : images) {
        const std::string source = templateDirectory + "/extimages/" + image;
        if (utils::FileExists(source))
            utils::CopyFile(source, outputDirectory + "/" + image, utils::ExistingTarget::Overwrite);
    }
}

}  // namespace

void RunServerDialogue(DocumentationJob& job)
{
    ShowProgress(job, kGeneratingSource);
    const JobNames names = NamesOfDocument(job.documentPath);
    const std::string templateDirectory = TemplateDirectory(*job.callback);
    const DialogueLimits limits = DialogueLimits::Of(*job.callback);

    utils::ServerConnection connection;
    connection.Create(0, utils::SocketType::Stream);
    const utils::ServerAddress address(job.callback->GetParameter(JobParameter::ServerAddress));
    ShowProgress(job, kConnecting);
    connection.Connect(address);
    ShowProgress(job, kSendingFiles);
    connection.LimitPhase(limits.phaseTimeLimit);
    ExpectServerGreeting(connection);

    TransferProgress progress{job.callback.get(), {}, 0, 0};
    progress.Start(utils::LoadResourceString(kSendingFiles));
    connection.SendText("documentation client\n");
    PrepareSources(job, names);
    const std::vector<PlannedUpload> uploads = PlanUploads(job, templateDirectory);
    SendScript(connection, job, names, uploads, progress);
    connection.LimitPhase(limits.phaseTimeLimit);
    AwaitFirstCommit(connection);
    SendUploads(connection, uploads, progress);

    ShowProgress(job, kWaitingForReply);
    progress.Start(utils::LoadResourceString(kReceivingFiles));
    connection.LimitPhase(limits.phaseTimeLimit);
    const std::vector<AnnouncedFile> files = AwaitResults(connection, limits, progress);
    connection.LimitPhase(limits.DownloadTimeLimit(progress.total));
    const std::string outputDirectory = OutputDirectory(job, names);
    if (job.mode == OutputMode::Html) {
        std::error_code ignored;  // an existing directory is fine; a missing one fails at its first file
        std::filesystem::create_directory(outputDirectory, ignored);
    }
    std::vector<std::string> externalImages;
    const DownloadTarget target{job, names, outputDirectory, externalImages};
    const std::vector<std::string> refused = DownloadResults(connection, files, target, progress);

    ShowResults(job, names);
    CopyExternalImages(externalImages, templateDirectory, outputDirectory);
    ThrowForRefusedNames(refused);
}
