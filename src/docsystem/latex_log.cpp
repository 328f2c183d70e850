#include "docsystem/latex_log.h"

#include "docsystem/latex_log_reader.h"
#include "docsystem/problem_mapping.h"
#include "utils/file_reading.h"
#include "utils/string_utils.h"

#include <limits>

namespace {

std::string LogText(const std::string& logPath)
{
    return utils::ReadWholeFile(logPath, utils::FileMode::Text, std::numeric_limits<std::int64_t>::max()).value_or("");
}

LogState StateOfLog(const std::string& text)
{
    return text.find("\n!") == std::string::npos ? LogState::Clean : LogState::HasErrors;
}

}  // namespace

void ReportLatexLog(DocumentationJob& job, const std::string& logPath)
{
    const std::string text = LogText(logPath);
    const LoggedFiles files{job.sources, utils::DirectoryPart(logPath), job.documentPath};
    job.callback->ShowProblems(ProblemsInUserFiles(ReadLatexLog(text), files));
    job.callback->ShowLog(logPath, StateOfLog(text));
}
