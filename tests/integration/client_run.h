#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace torvel_test {

struct ClientRun {
    int exitStatus = -1;
    std::string output;  // standard output and error together
};

// Runs quillwright with `arguments` in `directory` and waits for it.
ClientRun RunClient(const std::vector<std::string>& arguments, const std::filesystem::path& directory);

// A copy of examples/ in a fresh directory, so results do not land in the source tree.
class ExampleDocuments {
public:
    ExampleDocuments();
    ExampleDocuments(const ExampleDocuments&) = delete;
    ExampleDocuments& operator=(const ExampleDocuments&) = delete;
    ~ExampleDocuments();

    const std::filesystem::path& Directory() const { return m_directory; }
    std::string Read(const std::string& relative) const;

private:
    std::filesystem::path m_directory;
};

// Runs a program and returns its standard output; the exit status goes to `exitStatus`.
std::string Capture(const std::vector<std::string>& arguments, int& exitStatus);

}  // namespace torvel_test
