#include "docsystem/local_run.h"

#include "docsystem/job_names.h"
#include "docsystem/latex_log.h"
#include "docsystem/result_file_observer.h"
#include "utils/error_reporting.h"
#include "utils/file_utils.h"
#include "utils/process.h"
#include "utils/string_table.h"
#include "utils/string_utils.h"

namespace {

constexpr unsigned int kCannotExecute = 2;
constexpr unsigned int kRunningLatex = 3;
constexpr unsigned int kLatexFailed = 7;
constexpr unsigned int kBatchFileMissing = 134;

const char* const interpreter = "/bin/sh";

bool ParameterIsSet(DocumentationJob& job, JobParameter parameter)
{
    return utils::FromDecimalText(job.callback->GetParameter(parameter)) != 0;
}

}  // namespace

std::string QuotedCommandArgument(const std::string& argument)
{
    // Each run of characters between double quotes is quoted; each double quote of its own is written
    // as two double quotes outside quotes.
    std::string quoted;
    std::size_t start = 0;
    for (;;) {
        const auto quote = argument.find('"', start);
        const std::string run = argument.substr(start, quote == std::string::npos ? std::string::npos : quote - start);
        if (!run.empty())
            quoted += "\"" + run + "\"";
        if (quote == std::string::npos)
            return quoted;
        quoted += "\"\"";
        start = quote + 1;
    }
}

void RunLocalLatex(DocumentationJob& job)
{
    const JobNames names = NamesOfDocument(job.documentPath);
    const unsigned int options = utils::ProcessWaitForExit
                                 | (ParameterIsSet(job, JobParameter::HiddenInterpreter) ? utils::ProcessHidden : 0u);
    job.callback->SetProgressText(utils::LoadResourceString(kRunningLatex));
    const std::string script = utils::CanonicalPath(job.callback->GetParameter(JobParameter::LatexBatchFile));
    const std::string dataDirectory = utils::CanonicalPath(job.callback->GetParameter(JobParameter::ProgramDirectory));
    if (!utils::FileExists(script))
        utils::ThrowResourceError(kBatchFileMissing);

    const std::string commandLine = std::string(interpreter) + " " + QuotedCommandArgument(script) + " "
                                    + QuotedCommandArgument(dataDirectory) + " " + QuotedCommandArgument(names.documentBaseName);
    auto process = utils::StartProcess(commandLine, options, names.documentDirectory);
    if (!process)
        utils::ThrowSystemError(kCannotExecute);
    const auto exitCode = process->ExitCode();
    if (exitCode && *exitCode != 0)
        utils::ThrowResourceError(kLatexFailed);

    const std::string postScriptPath = names.documentDirectory + "/" + names.documentBaseName + ".ps";
    if (utils::FileExists(postScriptPath))
        ReportResultFile(*job.callback, postScriptPath);
    if (ParameterIsSet(job, JobParameter::ShowPostScript))
        job.callback->ShowOutput(2, postScriptPath);
    const std::string logPath = names.documentDirectory + "/" + names.documentBaseName + ".log";
    ReportLatexLog(job, logPath);
}
