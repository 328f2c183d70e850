#include "docsystem/fake_processing_server.h"

#include <sstream>

namespace docsystem::testing {

using test_support::ReadExactly;
using test_support::ReadLineFrom;
using test_support::WriteText;

FakeProcessingServer::FakeProcessingServer(FakeServerScript script) : m_script(std::move(script))
{
    m_peer = std::make_unique<test_support::LoopbackPeer>([this](int socket) { Serve(socket); });
}

const FakeServerRecord& FakeProcessingServer::Record()
{
    m_peer.reset();
    return m_record;
}

void FakeProcessingServer::Serve(int socket)
{
    m_record.clientConnected = true;
    WriteText(socket, m_script.greeting);
    for (;;) {
        const std::string line = ReadLineFrom(socket);
        m_record.script += line;
        if (line.empty() || line == "commit\n")
            break;
    }
    WriteText(socket, m_script.firstPhase);
    if (m_script.firstPhase.rfind("abort", 0) == 0)
        return;
    m_record.uploaded = ReadExactly(socket, AnnouncedUploadBytes(m_record.script));
    std::string reply = m_script.secondPhaseLines;
    for (const FakeResult& result : m_script.results)
        reply += "file " + result.announcement + "\n";
    reply += m_script.secondPhaseEnd;
    WriteText(socket, reply);
    if (!m_script.truncatedData.empty()) {
        WriteText(socket, m_script.truncatedData);
        return;
    }
    for (std::size_t index = 0; index < m_script.results.size(); ++index) {
        const std::string& bytes = m_script.results[index].bytes;
        if (index == 0 && m_script.pauseMidway) {
            WriteText(socket, bytes.substr(0, bytes.size() / 2));
            m_script.pauseMidway();
            WriteText(socket, bytes.substr(bytes.size() / 2));
        } else {
            WriteText(socket, bytes);
        }
    }
    // Waits until the client has read everything and closed its end.
    test_support::ReadToEnd(socket);
}

FakeResult Result(const std::string& name, const std::string& bytes)
{
    return {name + ":" + std::to_string(bytes.size()), bytes};
}

std::size_t AnnouncedUploadBytes(const std::string& script)
{
    std::istringstream lines(script);
    std::string line;
    std::size_t total = 0;
    while (std::getline(lines, line)) {
        if (line.rfind("put ", 0) != 0)
            continue;
        const auto sizeEnd = line.rfind(':');
        const auto sizeStart = line.rfind(':', sizeEnd - 1);
        total += std::stoul(line.substr(sizeStart + 1, sizeEnd - sizeStart - 1));
    }
    return total;
}

}  // namespace docsystem::testing
