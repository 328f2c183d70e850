#include "raw_client.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <stdexcept>

namespace torvel_test {

RawClient::RawClient(int port) : m_socket(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0))
{
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (m_socket < 0 || ::connect(m_socket, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0)
        throw std::runtime_error("cannot connect to port " + std::to_string(port));
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

JobReply RunJob(int port, const std::string& service, const std::vector<UploadFile>& uploads,
                const std::vector<std::string>& requestLines)
{
    RawClient client(port);
    JobReply reply;
    reply.greeting = client.ReadLine();
    std::string script = "documentation client\nservice " + service + "\n";
    for (const auto& upload : uploads)
        script += "put " + upload.name + ":" + std::to_string(upload.data.size()) + ":" + upload.form + "\n";
    for (const auto& line : requestLines)
        script += line + "\n";
    client.Send(script + "commit\n");
    reply.firstPhase = client.ReadLine();
    if (reply.firstPhase != "commit")
        return reply;
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
        return reply;
    for (const auto& [name, size] : sizes)
        reply.files[name] = client.ReadBytes(size);
    return reply;
}

}  // namespace torvel_test
