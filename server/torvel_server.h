#pragma once

#include "job_slots.h"
#include "sandbox.h"
#include "server_options.h"
#include "unique_descriptor.h"
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

    void Accept(const UniqueDescriptor& listener, Port port);
    void Serve(UniqueDescriptor socket, Port port);
    void WaitForConnections();

    ServerOptions m_options;
    Sandbox m_sandbox;
    WebRoot m_webRoot;
    JobSlots m_slots;
    UniqueDescriptor m_signals;
    UniqueDescriptor m_documentationListener;
    UniqueDescriptor m_maintenanceListener;
    std::mutex m_mutex;
    std::condition_variable m_connectionEnded;
    unsigned m_connections = 0;
    unsigned m_maximumConnections;
};

}  // namespace torvel
