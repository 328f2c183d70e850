#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace torvel_test {

// Where a test client connects to and from: the loopback range offers many source addresses.
struct Endpoints {
    std::string server = "127.0.0.1";
    std::string source;  // empty: the system's choice
};

// A bare TCP client that speaks the dialogue line by line, for tests that need to break its rules.
class RawClient {
public:
    explicit RawClient(int port, const Endpoints& endpoints = {});
    RawClient(const RawClient&) = delete;
    RawClient& operator=(const RawClient&) = delete;
    ~RawClient();

    // Empty when the server closed the connection; waits at most 60 seconds.
    std::string ReadLine();
    std::string ReadBytes(std::size_t count);
    // False when the server no longer takes data.
    bool Send(std::string_view bytes);
    // Sends nothing more; the server reads the end of the stream.
    void FinishSending();

private:
    int m_socket = -1;
    std::string m_buffer;
};

struct UploadFile {
    std::string name;
    std::string data;
    std::string form = "dos";
};

// The server's side of one documentation job, as a client sees it.
struct JobReply {
    std::string greeting;
    std::string firstPhase;                     // "commit" or the abort line
    std::string secondPhase;                    // "commit" or the abort line
    std::vector<std::string> announced;         // names in announcement order
    std::map<std::string, std::string> files;   // name -> data
};

// The script of a documentation job, up to its "commit".
std::string JobScript(const std::string& service, const std::vector<UploadFile>& uploads,
                      const std::vector<std::string>& requestLines);

// The rest of a job whose first phase was "commit": sends the uploads and collects the results.
void FinishJob(RawClient& client, const std::vector<UploadFile>& uploads, JobReply& reply);

// Sends a complete, well-formed documentation job and collects everything the server returns.
JobReply RunJob(int port, const std::string& service, const std::vector<UploadFile>& uploads,
                const std::vector<std::string>& requestLines, const Endpoints& endpoints = {});

// The lines a client sends for `service` on `mainFile`: log and .bin requests, run line, results.
std::vector<std::string> StandardRequests(const std::string& service, const std::string& mainFile,
                                          const std::string& htmlOptions = "");

}  // namespace torvel_test
