#include "document_conversion.h"

#include "latex_log.h"
#include "log_note.h"
#include "sandbox.h"
#include "source_text_encoding.h"
#include "uploaded_figures.h"

#include <fstream>

namespace torvel {
namespace {

const char* const kCzechStyle = "/usr/share/latex2html/styles/czech.perl";
const char* const kLatexmkConfiguration = "torvel-latexmkrc";

// Before an HTML conversion LaTeX reads material meant for the HTML pages as well (the html package
// would skip it), because that is where documents define the commands the conversion turns into
// markup; without it the run would report them as undefined.
const char* const kReadHtmlOnlyMaterial =
    "\\makeatletter\\AddToHook{package/html/after}{\\renewenvironment{htmlonly}{\\endgroup}"
    "{\\begingroup\\def\\@currenvir{htmlonly}}}\\makeatother";

bool Exists(const std::filesystem::path& path)
{
    std::error_code error;
    return std::filesystem::is_regular_file(std::filesystem::symlink_status(path, error));
}

// The error lines of a LaTeX transcript, each with the two lines that locate it.
std::string ErrorLines(const std::string& transcript)
{
    constexpr auto npos = std::string::npos;
    std::string lines;
    std::size_t error = transcript.starts_with("!") ? 0 : transcript.find("\n!");
    while (error != npos) {
        const std::size_t from = transcript[error] == '\n' ? error + 1 : error;
        std::size_t end = from;
        for (int line = 0; line < 3 && end != npos; ++line)
            end = transcript.find('\n', end + 1);
        lines += transcript.substr(from, end == npos ? npos : end - from) + "\n";
        error = end == npos ? npos : transcript.find("\n!", end);
    }
    return lines;
}

JobResult Worse(JobResult first, JobResult second)
{
    return static_cast<int>(second) > static_cast<int>(first) ? second : first;
}

}  // namespace

std::string JobResultText(JobResult result)
{
    switch (result) {
    case JobResult::Success: return "ok";
    case JobResult::LatexErrors: return "latex-errors";
    case JobResult::ToolFailed: return "tool-failed";
    case JobResult::TimeLimit: return "time-limit";
    case JobResult::OutputLimit: return "output-limit";
    }
    return "unknown";
}

DocumentConversion::DocumentConversion(const DocumentRequest& request, ToolRunner& runner, const JobPaths& job,
                                       const Sandbox& sandbox, std::chrono::seconds timeLimit)
    : m_request(request), m_runner(runner), m_job(job), m_sandbox(sandbox), m_timeLimit(timeLimit),
      m_base(request.BaseName())
{
}

std::string LimitNote(JobResult limit, std::chrono::seconds timeLimit, const std::string& tool)
{
    if (limit == JobResult::TimeLimit)
        return "the job needed more than its " + std::to_string(timeLimit.count()) + " seconds; " + tool + " was stopped.";
    return "the job wrote more than the server allows; " + tool + " was stopped.";
}

void DocumentConversion::Note(const std::string& text) const
{
    NoteInLog(m_job.work / (m_base + ".log"), text);
}

JobResult DocumentConversion::NoteLimit(JobResult limit, const std::string& tool) const
{
    Note(LimitNote(limit, m_timeLimit, tool));
    return limit;
}

JobResult DocumentConversion::RunTool(const std::vector<std::string>& command, const std::string& produced)
{
    RemoveTranscript();
    const ToolResult result = m_runner.Run(command, m_job.transcript);
    if (result.outcome == ToolOutcome::TimeLimit)
        return NoteLimit(JobResult::TimeLimit, command.front());
    if (result.outcome == ToolOutcome::OutputLimit)
        return NoteLimit(JobResult::OutputLimit, command.front());
    if (result.exitStatus == 0 && Exists(m_job.work / produced))
        return JobResult::Success;
    Note(command.front() + " failed (exit status " + std::to_string(result.exitStatus) + ") and did not make " +
              produced + ". Its output:\n" + TranscriptTail(m_job.transcript));
    return JobResult::ToolFailed;
}

void DocumentConversion::RemoveTranscript() const
{
    std::error_code ignored;
    std::filesystem::remove(m_job.transcript, ignored);
}

JobResult DocumentConversion::LatexOutcome(const ToolResult& run, const std::string& tool)
{
    if (run.outcome == ToolOutcome::TimeLimit)
        return NoteLimit(JobResult::TimeLimit, tool);
    if (run.outcome == ToolOutcome::OutputLimit)
        return NoteLimit(JobResult::OutputLimit, tool);
    const auto log = m_job.work / (m_base + ".log");
    if (!Exists(log)) {
        Note(tool + " did not start (exit status " + std::to_string(run.exitStatus) + "). Its output:\n" +
             TranscriptTail(m_job.transcript));
        return JobResult::LatexErrors;
    }
    if (LogShowsErrors(ReadWholeFile(log)))
        return JobResult::LatexErrors;
    if (run.exitStatus == 0)
        return JobResult::Success;
    // LaTeX itself was content; a bibliography, index or glossary run was not.
    const std::string problems = LatexmkProblems(ReadWholeFile(m_job.transcript));
    Note(tool + " failed (exit status " + std::to_string(run.exitStatus) + ")" + (problems.empty() ? "" : ": " + problems) +
         ". Its output:\n" + TranscriptTail(m_job.transcript));
    return JobResult::LatexErrors;
}

JobResult DocumentConversion::RunLatexmk(TexEngine engine, EncapsulatedFigures figures)
{
    WriteLatexmkConfiguration(m_job.temporary / kLatexmkConfiguration, figures);
    const std::string configuration = m_sandbox.PathsFor(m_job).temporary + "/" + kLatexmkConfiguration;
    RemoveTranscript();
    return LatexOutcome(m_runner.Run(LatexmkCommand(engine, configuration, m_request.mainFile), m_job.transcript),
                        "latexmk");
}

JobResult DocumentConversion::RunLatexForHtml(TexEngine engine)
{
    // One run: only its log is wanted; latex2html numbers and links the pages itself. It takes PNG,
    // JPEG and PDF figures as they are, which only pdflatex can measure.
    const std::string program = engine == TexEngine::Pdflatex ? "pdflatex" : "latex";
    const std::vector<std::string> command = {program, "-no-shell-escape", "-interaction=nonstopmode",
                                              "-jobname=" + m_base,
                                              std::string(kReadHtmlOnlyMaterial) + "\\input{" + m_request.mainFile + "}"};
    RemoveTranscript();
    return LatexOutcome(m_runner.Run(command, m_job.transcript), program);
}

std::filesystem::path DocumentConversion::WriteHtmlInitFile() const
{
    const std::string name = "torvel-latex2html-init.pl";
    std::ofstream init(m_job.temporary / name, std::ios::trunc);
    init << "$TMP = '" << m_sandbox.PathsFor(m_job).temporary << "';\n";
    if (m_request.htmlOptions.mathScaleFactor)
        init << "$MATH_SCALE_FACTOR = " << *m_request.htmlOptions.mathScaleFactor << ";\n";
    if (m_request.htmlOptions.figureScaleFactor)
        init << "$FIGURE_SCALE_FACTOR = " << *m_request.htmlOptions.figureScaleFactor << ";\n";
    if (m_request.service == DocumentService::CzechHtml) {
        if (Exists(kCzechStyle))
            init << "require '" << kCzechStyle << "';\n";
        init << "$TITLES_LANGUAGE = 'czech';\n";
    }
    init << "1;\n";
    return std::filesystem::path(m_sandbox.PathsFor(m_job).temporary) / name;
}

JobResult DocumentConversion::MakeHtml()
{
    std::vector<std::string> command = {"latex2html", "-init_file", WriteHtmlInitFile().string(), "-nouse_pdftex",
                                        "-nouse_dvipng", "-image_type", "png"};
    // Czech pages in the 8-bit code of Central European letters, like the texts they come from,
    // unless the sources hold UTF-8 text that code cannot carry: then in UTF-8, declared as such.
    if (m_request.service == DocumentService::CzechHtml)
        command.insert(command.end(), {"-iso_language", "cs", "-html_version",
                                       SourcesHoldUtf8Text(m_job.work) ? "4.0" : "4.0,latin2"});
    command.insert(command.end(), m_request.htmlOptions.arguments.begin(), m_request.htmlOptions.arguments.end());
    command.push_back(m_request.mainFile);
    const JobResult pages = RunTool(command, m_base + "/index.html");
    // latex2html finishes with status 0 even when LaTeX failed on some of its images; LaTeX's
    // complaints are in the log of the images rather than in what latex2html prints.
    const std::string errors = ErrorLines(ReadWholeFile(m_job.transcript)) +
                               ErrorLines(ReadWholeFile(m_job.work / m_base / "images.log"));
    if (pages != JobResult::Success || errors.empty())
        return pages;
    Note("latex2html met LaTeX errors while making the pages:\n" + errors);
    return JobResult::LatexErrors;
}

JobResult DocumentConversion::MakeThroughDvips()
{
    const JobResult latex = RunLatexmk(TexEngine::Latex, EncapsulatedFigures::Absent);
    if (latex == JobResult::TimeLimit || latex == JobResult::OutputLimit || !Exists(m_job.work / (m_base + ".dvi")))
        return latex;
    // -R2: no shell commands from \special and no absolute file names.
    const JobResult postScript = RunTool({"dvips", "-R2", "-q", "-o", m_base + ".ps", m_base + ".dvi"}, m_base + ".ps");
    if (postScript != JobResult::Success || m_request.service == DocumentService::PostScript)
        return Worse(latex, postScript);
    // What ps2pdf runs, without the shell script around it.
    return Worse(latex, RunTool({"gs", "-dSAFER", "-dBATCH", "-dNOPAUSE", "-dQUIET", "-sDEVICE=pdfwrite",
                                 "-sOutputFile=" + m_base + ".pdf", m_base + ".ps"},
                                m_base + ".pdf"));
}

JobResult DocumentConversion::MakeWithPdflatex(const std::vector<std::string>& encapsulatedFigures)
{
    // pdflatex converts EPS figures only through shell escape; epstopdf runs here as a tool of its own.
    for (const std::string& figure : encapsulatedFigures) {
        const std::string converted = ConvertedFigureName(figure);
        const JobResult conversion = RunTool({"epstopdf", "--outfile=" + converted, figure}, converted);
        if (conversion != JobResult::Success)
            return conversion;
    }
    return RunLatexmk(TexEngine::Pdflatex, encapsulatedFigures.empty() ? EncapsulatedFigures::Absent
                                                                       : EncapsulatedFigures::ConvertedBeforehand);
}

JobResult DocumentConversion::RefusePostScriptOf(const std::vector<std::string>& bitmapOrPdfFigures)
{
    Note("PostScript output cannot show the PNG, JPEG or PDF figure" +
         std::string(bitmapOrPdfFigures.size() > 1 ? "s " : " ") + NameList(bitmapOrPdfFigures) +
         "; ask for PDF output, or give these figures as EPS files.");
    return JobResult::ToolFailed;
}

JobResult DocumentConversion::Run()
{
    const UploadedFigures figures = FindUploadedFigures(m_job.work);
    if (IsHtml(m_request.service)) {
        const TexEngine engine = figures.bitmapOrPdf.empty() ? TexEngine::Latex : TexEngine::Pdflatex;
        const JobResult latex = RunLatexForHtml(engine);
        const std::string typeset = m_base + (engine == TexEngine::Pdflatex ? ".pdf" : ".dvi");
        if (latex == JobResult::TimeLimit || latex == JobResult::OutputLimit || !Exists(m_job.work / typeset))
            return latex;
        return Worse(latex, MakeHtml());
    }
    if (figures.bitmapOrPdf.empty())
        return MakeThroughDvips();
    if (m_request.service == DocumentService::PostScript)
        return RefusePostScriptOf(figures.bitmapOrPdf);
    return MakeWithPdflatex(figures.encapsulated);
}

}  // namespace torvel
