#include "torvel_server.h"

#include "client_admission.h"
#include "client_connection.h"
#include "documentation_session.h"
#include "job_log.h"
#include "maintenance_session.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <poll.h>
#include <signal.h>
#include <sys/signalfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <thread>

namespace torvel {
namespace {

// Connections beyond the running jobs wait for a slot (each costs only an idle thread); past this
// many new ones are closed at once.
constexpr unsigned kConnectionsPerJob = 16;
constexpr unsigned kMinimumConnections = 64;

utils::FileDescriptor Listen(const std::string& address, int port)
{
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_PASSIVE | AI_NUMERICSERV;
    addrinfo* found = nullptr;
    const int lookup = ::getaddrinfo(address.c_str(), std::to_string(port).c_str(), &hints, &found);
    if (lookup != 0)
        throw std::runtime_error("cannot use bind address " + address + ": " + ::gai_strerror(lookup));
    std::unique_ptr<addrinfo, decltype(&::freeaddrinfo)> addresses(found, &::freeaddrinfo);
    utils::FileDescriptor listener(::socket(found->ai_family, SOCK_STREAM | SOCK_CLOEXEC, 0));
    const int reuse = 1;
    if (!listener.IsOpen() || ::setsockopt(listener.Get(), SOL_SOCKET, SO_REUSEADDR, &reuse, sizeof reuse) != 0 ||
        ::bind(listener.Get(), found->ai_addr, found->ai_addrlen) != 0 || ::listen(listener.Get(), 128) != 0)
        throw std::runtime_error("cannot listen on " + address + " port " + std::to_string(port) + ": " +
                                 std::strerror(errno));
    return listener;
}

int PortOf(const utils::FileDescriptor& listener)
{
    sockaddr_storage address{};
    socklen_t length = sizeof address;
    ::getsockname(listener.Get(), reinterpret_cast<sockaddr*>(&address), &length);
    if (address.ss_family == AF_INET6)
        return ntohs(reinterpret_cast<const sockaddr_in6&>(address).sin6_port);
    return ntohs(reinterpret_cast<const sockaddr_in&>(address).sin_port);
}

utils::FileDescriptor StopSignals()
{
    sigset_t signals;
    ::sigemptyset(&signals);
    ::sigaddset(&signals, SIGTERM);
    ::sigaddset(&signals, SIGINT);
    // Blocked before any thread starts, so every thread inherits the mask and only the signal
    // descriptor sees them.
    ::pthread_sigmask(SIG_BLOCK, &signals, nullptr);
    ::signal(SIGPIPE, SIG_IGN);
    return utils::FileDescriptor(::signalfd(-1, &signals, SFD_CLOEXEC));
}

}  // namespace

TorvelServer::TorvelServer(const ServerOptions& options)
    : m_options(options), m_sandbox(options.sandbox), m_webRoot(options.webRoot),
      m_history(options.pageHistory, options.pageHistoryDepth, m_webRoot), m_slots(options.jobs, JobsPerClient(options)),
      m_signals(StopSignals()), m_maximumConnections(std::max(kMinimumConnections, options.jobs * kConnectionsPerJob))
{
    std::error_code error;
    if (!std::filesystem::is_directory(m_options.workDirectory, error))
        throw std::runtime_error("work directory " + m_options.workDirectory.string() + " is not a directory");
    m_sandbox.CheckUsable(m_options.workDirectory);
    m_history.CheckUsable();
    m_documentationListener = Listen(m_options.bindAddress, m_options.documentationPort);
    m_maintenanceListener = Listen(m_options.bindAddress, m_options.maintenancePort);
}

void TorvelServer::Run()
{
    WriteLogLine("documentation service on " + m_options.bindAddress + " port " +
                 std::to_string(PortOf(m_documentationListener)) + ", maintenance service on port " +
                 std::to_string(PortOf(m_maintenanceListener)) + ", web root " + m_webRoot.Directory().string() +
                 ", " + std::to_string(m_options.jobs) + " jobs at a time, sandbox " +
                 (m_sandbox.Mode() == SandboxMode::Bubblewrap ? "bubblewrap" : "none"));
    WriteLogLine("clients allowed: documentation " + m_options.documentationAllow.Text() + ", maintenance " +
                 m_options.maintenanceAllow.Text() + "; PROXY protocol " +
                 (m_options.proxyProtocol == ProxyProtocol::Accept ? "expected" : "refused") + "; " +
                 std::to_string(JobsPerClient(m_options)) + " running job(s) per client; page history " +
                 m_history.Directory().string() + ", " + std::to_string(m_history.Depth()) + " versions per page");
    std::array<pollfd, 3> watched = {pollfd{m_signals.Get(), POLLIN, 0},
                                     pollfd{m_documentationListener.Get(), POLLIN, 0},
                                     pollfd{m_maintenanceListener.Get(), POLLIN, 0}};
    for (;;) {
        if (::poll(watched.data(), watched.size(), -1) < 0) {
            if (errno == EINTR)
                continue;
            throw std::runtime_error(std::string("waiting for connections failed: ") + std::strerror(errno));
        }
        if (watched[0].revents != 0)
            break;
        if (watched[1].revents != 0)
            Accept(m_documentationListener, Port::Documentation);
        if (watched[2].revents != 0)
            Accept(m_maintenanceListener, Port::Maintenance);
    }
    m_documentationListener.Reset();
    m_maintenanceListener.Reset();
    WriteLogLine("stopping: finishing " + std::to_string(m_connections) + " connection(s)");
    WaitForConnections();
    WriteLogLine("stopped");
}

void TorvelServer::Accept(const utils::FileDescriptor& listener, Port port)
{
    utils::FileDescriptor socket(::accept4(listener.Get(), nullptr, nullptr, SOCK_CLOEXEC));
    if (!socket.IsOpen())
        return;  // the client gave up before we got to it
    {
        const std::lock_guard lock(m_mutex);
        if (m_connections >= m_maximumConnections) {
            WriteLogLine("refused a connection: " + std::to_string(m_connections) + " connections open");
            return;
        }
        ++m_connections;
    }
    std::thread(&TorvelServer::Serve, this, std::move(socket), port).detach();
}

void TorvelServer::Serve(utils::FileDescriptor socket, Port port)
{
    ClientConnection connection(std::move(socket), std::chrono::duration_cast<std::chrono::milliseconds>(m_options.idleTimeout));
    Conversation conversation{connection, {}, false, {}};
    const ServerContext context{m_options, m_sandbox, m_slots, m_webRoot, m_history};
    const AllowList& allowList = port == Port::Documentation ? m_options.documentationAllow : m_options.maintenanceAllow;
    try {
        const bool admitted = AdmitClient(conversation, allowList, m_options.proxyProtocol);
        if (admitted && port == Port::Documentation)
            ServeDocumentation(conversation, context);
        else if (admitted)
            ServeMaintenance(conversation, context);
    } catch (const std::exception& failure) {
        conversation.log.result = std::string("failed: ") + failure.what();
        try {
            if (!conversation.replyStarted)
                connection.Send(std::string("abort ") + failure.what() + "\n");
        } catch (const std::exception&) {
            // the client is gone; the log line says why
        }
    }
    WriteLogLine(conversation.log.Format());
    connection.FinishAndClose();
    const std::lock_guard lock(m_mutex);
    --m_connections;
    m_connectionEnded.notify_all();
}

void TorvelServer::WaitForConnections()
{
    std::unique_lock lock(m_mutex);
    m_connectionEnded.wait(lock, [this] { return m_connections == 0; });
}

}  // namespace torvel
