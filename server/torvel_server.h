#pragma once

#include "job_slots.h"
#include "page_history.h"
#include "sandbox.h"
#include "server_options.h"
#include "utils/file_descriptor.h"
#include "web_root.h"

#include <condition_variable>
#include <mutex>

namespace torvel {

// Listens on the documentation and maintenance ports and serves each connection on a thread of its
// own. SIGTERM or SIGINT stops the listening; connections already accepted are served to their end.
class TorvelServer {
public:
    explicit TorvelServer(const ServerOptions& options);

    // Returns after a stop signal, once every accepted connection has been served.
    void Run();

private:
    enum class Port { Documentation, Maintenance };

    void Accept(const utils::FileDescriptor& listener, Port port);
    void Serve(utils::FileDescriptor socket, Port port);
    void WaitForConnections();

    ServerOptions m_options;
    Sandbox m_sandbox;
    WebRoot m_webRoot;
    PageHistory m_history;
    JobSlots m_slots;
    utils::FileDescriptor m_signals;
    utils::FileDescriptor m_documentationListener;
    utils::FileDescriptor m_maintenanceListener;
    std::mutex m_mutex;
    std::condition_variable m_connectionEnded;
    unsigned m_connections = 0;
    unsigned m_maximumConnections;
};

}  // namespace torvel
