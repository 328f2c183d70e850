#pragma once

// Fixture trees of documents in a scratch directory, and a callback that answers the job's
// parameters from a table.

#include "docsystem/documentation_callback.h"
#include "utils/test_scratch_directory.h"

#include <string>

namespace docsystem::testing {

class FixtureTree {
public:
    // Writes a file below the tree, creating its directories; returns its full path.
    std::string Write(const std::string& relativePath, const std::string& content) const;
    std::string Read(const std::string& relativePath) const;
    std::string Path(const std::string& relativePath) const { return directory / relativePath; }
    const std::string& Root() const { return directory.Path(); }

private:
    utils::testing::ScratchDirectory directory;
};

// Answers GetParameter with the program directory. The preparation of sources and pages only
// asks for parameters, so anything else it calls fails the test.
class ParameterCallback : public DocumentationCallback {
public:
    explicit ParameterCallback(std::string programDirectory);

    std::string GetParameter(JobParameter parameter) override;
    void ShowOutput(std::int32_t outputKind, const std::string& filePath) override;
    void ShowLog(const std::string& logPath, LogState state) override;
    void SetProgressText(const std::string& text) override;

private:
    std::string programDirectory;
};

}  // namespace docsystem::testing
