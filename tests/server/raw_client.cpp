#include "raw_client.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <stdexcept>

namespace torvel_test {

namespace {

sockaddr_storage SocketAddress(const std::string& text, int port)
{
    sockaddr_storage address{};
    auto& v4 = reinterpret_cast<sockaddr_in&>(address);
    auto& v6 = reinterpret_cast<sockaddr_in6&>(address);
    if (::inet_pton(AF_INET, text.c_str(), &v4.sin_addr) == 1) {
        v4.sin_family = AF_INET;
        v4.sin_port = htons(static_cast<std::uint16_t>(port));
    } else if (::inet_pton(AF_INET6, text.c_str(), &v6.sin6_addr) == 1) {
        v6.sin6_family = AF_INET6;
        v6.sin6_port = htons(static_cast<std::uint16_t>(port));
    } else {
        throw std::runtime_error("not an address: " + text);
    }
    return address;
}

}  // namespace

RawClient::RawClient(int port, const Endpoints& endpoints)
{
    const sockaddr_storage server = SocketAddress(endpoints.server, port);
    m_socket = ::socket(server.ss_family, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (!endpoints.source.empty()) {
        const sockaddr_storage source = SocketAddress(endpoints.source, 0);
        if (::bind(m_socket, reinterpret_cast<const sockaddr*>(&source), sizeof source) != 0) {
            ::close(m_socket);
            throw std::runtime_error("cannot bind to " + endpoints.source);
        }
    }
    if (::connect(m_socket, reinterpret_cast<const sockaddr*>(&server), sizeof server) != 0) {
        ::close(m_socket);
        throw std::runtime_error("cannot connect to " + endpoints.server + " port " + std::to_string(port));
    }
}

RawClient::~RawClient()
{
    ::close(m_socket);
}

std::string RawClient::ReadLine()
{
    for (;;) {
        const auto end = m_buffer.find('\n');
        if (end != std::string::npos) {
            std::string line = m_buffer.substr(0, end);
            m_buffer.erase(0, end + 1);
            return line;
        }
        pollfd entry{m_socket, POLLIN, 0};
        if (::poll(&entry, 1, 60000) <= 0)
            throw std::runtime_error("no line from the server within 60 seconds");
        char chunk[4096];
        const ssize_t count = ::recv(m_socket, chunk, sizeof chunk, 0);
        if (count <= 0)
            return {};
        m_buffer.append(chunk, static_cast<std::size_t>(count));
    }
}

std::string RawClient::ReadBytes(std::size_t count)
{
    while (m_buffer.size() < count) {
        pollfd entry{m_socket, POLLIN, 0};
        if (::poll(&entry, 1, 60000) <= 0)
            throw std::runtime_error("no data from the server within 60 seconds");
        char chunk[65536];
        const ssize_t received = ::recv(m_socket, chunk, sizeof chunk, 0);
        if (received <= 0)
            throw std::runtime_error("server closed the connection inside a file");
        m_buffer.append(chunk, static_cast<std::size_t>(received));
    }
    std::string bytes = m_buffer.substr(0, count);
    m_buffer.erase(0, count);
    return bytes;
}

bool RawClient::Send(std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t sent = ::send(m_socket, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (sent <= 0)
            return false;
        bytes.remove_prefix(static_cast<std::size_t>(sent));
    }
    return true;
}

void RawClient::FinishSending()
{
    ::shutdown(m_socket, SHUT_WR);
}

std::vector<std::string> StandardRequests(const std::string& service, const std::string& mainFile,
                                          const std::string& htmlOptions)
{
    const std::string base = mainFile.substr(0, mainFile.size() - 4);
    std::vector<std::string> lines = {"mget *.log:dos", "mget *.bin:"};
    if (service.find("html") != std::string::npos) {
        lines.insert(lines.end(), {"run " + service + " " + mainFile + " " + htmlOptions, "mget " + base + "/*.html:dos",
                                   "mget " + base + "/*.gif:", "mget " + base + "/*.png:"});
        return lines;
    }
    lines.push_back("run " + service + " " + mainFile);
    lines.push_back(service == "tex2pdf" ? "get " + base + ".pdf:" : "get " + base + ".ps:dos");
    return lines;
}

std::string JobScript(const std::string& service, const std::vector<UploadFile>& uploads,
                      const std::vector<std::string>& requestLines)
{
    std::string script = "documentation client\nservice " + service + "\n";
    for (const auto& upload : uploads)
        script += "put " + upload.name + ":" + std::to_string(upload.data.size()) + ":" + upload.form + "\n";
    for (const auto& line : requestLines)
        script += line + "\n";
    return script + "commit\n";
}

void FinishJob(RawClient& client, const std::vector<UploadFile>& uploads, JobReply& reply)
{
    for (const auto& upload : uploads)
        client.Send(upload.data);
    std::vector<std::pair<std::string, std::size_t>> sizes;
    for (std::string line = client.ReadLine(); !line.empty(); line = client.ReadLine()) {
        if (line == "commit" || line.starts_with("abort")) {
            reply.secondPhase = line;
            break;
        }
        if (!line.starts_with("file "))
            continue;
        const auto colon = line.rfind(':');
        sizes.emplace_back(line.substr(5, colon - 5), std::stoul(line.substr(colon + 1)));
        reply.announced.push_back(sizes.back().first);
    }
    if (reply.secondPhase != "commit")
        return;
    for (const auto& [name, size] : sizes)
        reply.files[name] = client.ReadBytes(size);
}

JobReply RunJob(int port, const std::string& service, const std::vector<UploadFile>& uploads,
                const std::vector<std::string>& requestLines, const Endpoints& endpoints)
{
    RawClient client(port, endpoints);
    JobReply reply;
    reply.greeting = client.ReadLine();
    client.Send(JobScript(service, uploads, requestLines));
    reply.firstPhase = client.ReadLine();
    if (reply.firstPhase == "commit")
        FinishJob(client, uploads, reply);
    return reply;
}

}  // namespace torvel_test
