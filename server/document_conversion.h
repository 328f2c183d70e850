#pragma once

#include "document_request.h"
#include "job_directory.h"
#include "latexmk_run.h"
#include "tool_runner.h"

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

namespace torvel {

class Sandbox;

enum class JobResult { Success, LatexErrors, ToolFailed, TimeLimit, OutputLimit };

std::string JobResultText(JobResult result);

// The note for the log when a job was stopped at one of its limits.
std::string LimitNote(JobResult limit, std::chrono::seconds timeLimit, const std::string& tool);

// Runs the tool chain of one documentation service in the job directory. Whatever goes wrong
// after LaTeX has started is also written into BASE.log as a line beginning with "!", so a client
// that looks at the log for errors sees it; the chain goes on as far as its inputs exist.
// PostScript and PDF come from latexmk: through latex and dvips while every figure is EPS, through
// pdflatex once there are PNG, JPEG or PDF figures (EPS figures then converted beforehand).
class DocumentConversion {
public:
    DocumentConversion(const DocumentRequest& request, ToolRunner& runner, const JobPaths& job,
                       const Sandbox& sandbox, std::chrono::seconds timeLimit);

    JobResult Run();

private:
    JobResult MakeThroughDvips();
    JobResult MakeWithPdflatex(const std::vector<std::string>& encapsulatedFigures);
    JobResult RefusePostScriptOf(const std::vector<std::string>& bitmapOrPdfFigures);
    JobResult RunLatexmk(TexEngine engine, EncapsulatedFigures figures);
    JobResult RunLatexForHtml(TexEngine engine);
    JobResult LatexOutcome(const ToolResult& run, const std::string& tool);
    JobResult RunTool(const std::vector<std::string>& command, const std::string& produced);
    JobResult MakeHtml();
    std::filesystem::path WriteHtmlInitFile() const;
    void RemoveTranscript() const;
    void Note(const std::string& text) const;
    JobResult NoteLimit(JobResult limit, const std::string& tool) const;

    const DocumentRequest& m_request;
    ToolRunner& m_runner;
    JobPaths m_job;
    const Sandbox& m_sandbox;
    std::chrono::seconds m_timeLimit;
    std::string m_base;
};

}  // namespace torvel
