#pragma once

// A scripted processing server on the loopback interface: it plays the server's side of one
// documentation dialogue and records what the client sent.

#include "utils/loopback_peer.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace docsystem::testing {

struct FakeResult {
    std::string announcement;  // the text after "file "
    std::string bytes;         // the data sent for it
};

struct FakeServerScript {
    std::string greeting = "TORVEL server 2.1\n";
    std::string firstPhase = "commit\n";  // the lines answering the client's script
    std::string secondPhaseLines;         // lines before the "file" announcements
    std::vector<FakeResult> results;
    std::string secondPhaseEnd = "commit\n";
    // Sent in place of all result data when not empty: the server then closes the connection.
    std::string truncatedData;
    // Called when half of the first result's data has been sent; the rest follows when it returns.
    std::function<void()> pauseMidway;
};

// What the client sent.
struct FakeServerRecord {
    std::string script;    // the lines up to and including "commit\n"
    std::string uploaded;  // the data that followed, as many bytes as the "put" lines announced
    bool clientConnected = false;
};

class FakeProcessingServer {
public:
    explicit FakeProcessingServer(FakeServerScript script);

    std::string Address() const { return m_peer->Address(); }
    // Waits for the end of the dialogue and returns the record.
    const FakeServerRecord& Record();

private:
    void Serve(int socket);

    FakeServerScript m_script;
    FakeServerRecord m_record;
    std::unique_ptr<test_support::LoopbackPeer> m_peer;
};

// The announcement and data of a result: "NAME:SIZE" with the size of bytes.
FakeResult Result(const std::string& name, const std::string& bytes);

// The sum of the sizes of the "put" lines of a client script.
std::size_t AnnouncedUploadBytes(const std::string& script);

}  // namespace docsystem::testing
