#pragma once

// What the tests of whole documentation jobs share: a workspace with a data directory and a document
// directory, a callback that records every call, and a recorder of the reported errors.

#include "docsystem/documentation_callback.h"
#include "docsystem/output_mode.h"
#include "docsystem/result_file_observer.h"
#include "docsystem/start_documentation_job.h"
#include "utils/test_scratch_directory.h"

#include <map>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

namespace docsystem::testing {

struct CallbackRecord {
    std::vector<std::string> progressTexts;
    std::vector<std::pair<std::int32_t, std::string>> outputs;
    std::vector<std::pair<std::string, LogState>> logs;
    std::vector<std::string> storedResults;
    bool destroyed = false;
};

class RecordingCallback : public DocumentationCallback, public ResultFileObserver {
public:
    RecordingCallback(std::map<JobParameter, std::string> parameters, CallbackRecord& record);
    ~RecordingCallback() override;

    std::string GetParameter(JobParameter parameter) override;
    void ShowOutput(std::int32_t outputKind, const std::string& filePath) override;
    void ShowLog(const std::string& logPath, LogState state) override;
    void SetProgressText(const std::string& text) override;
    void ResultFileStored(const std::string& path) override;

private:
    std::map<JobParameter, std::string> m_parameters;
    CallbackRecord& m_record;
};

// Collects the texts of the message boxes shown while it exists.
class ReportedErrors {
public:
    ReportedErrors();
    ~ReportedErrors();
    std::vector<std::string> Texts() const;

private:
    mutable std::mutex m_mutex;
    std::vector<std::string> m_texts;
};

// A scratch tree with "data/template" (the program's data) and "doc" (the document's directory).
class JobWorkspace {
public:
    JobWorkspace();

    std::string DataDirectory() const { return m_root / "data"; }
    std::string TemplateFile(const std::string& name) const { return m_root / ("data/template/" + name); }
    std::string DocumentFile(const std::string& name) const { return m_root / ("doc/" + name); }
    // Writes a file below the workspace root, creating its directories; returns its path.
    std::string Write(const std::string& relativePath, const std::string& content) const;
    std::string Read(const std::string& path) const;
    bool Exists(const std::string& path) const;

    // The parameters a job gets: the data directory, the server address and the HTML options.
    std::map<JobParameter, std::string> Parameters(const std::string& serverAddress) const;

    // Runs a job inline with a recording callback and returns what it recorded.
    CallbackRecord Run(JobLocation location, OutputMode mode, const std::string& documentPath,
                       std::map<JobParameter, std::string> parameters,
                       const std::vector<std::string>* extraFiles = nullptr) const;

private:
    utils::testing::ScratchDirectory m_root;
};

inline const std::string defaultHtmlOptions = "-split 0 -link 0";

// The post-processing rules of every job test's template directory. The table is loaded once per
// process, so all job tests use the same rules.
inline const std::string testRules = "hint|<b>|</b>\nextlogo|<img src=\"logo.png\">\nmissingimg|<img src=\"none.png\">\n";

}  // namespace docsystem::testing
