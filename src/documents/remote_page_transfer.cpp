#include "documents/remote_page_transfer.h"

#include "utils/file_utils.h"
#include "utils/string_utils.h"

#include <stdexcept>

namespace remote_page {

namespace {

constexpr const char* FirstPhaseError = "invalid server response in 1st protocol phase";
constexpr const char* SecondPhaseError = "invalid server response in 2nd protocol phase";
constexpr const char* NoFileError = "failed to download file from server: file probably doesnt exist";
constexpr const char* EmptyFileError = "file has zero length, or is corrupted";
constexpr const char* TempSizeError = "failed to get size of the temp file";

void Open(utils::ServerConnection& connection, const Endpoint& endpoint)
{
    connection.LimitConnect(endpoint.timeLimit);
    connection.Connect(endpoint.address);
    connection.LimitPhase(endpoint.timeLimit);
    connection.ReadLine();  // the greeting
}

// The first phase's answer: "commit", or "abort REASON" with the server's reason.
void ExpectFirstCommit(utils::ServerConnection& connection)
{
    const std::string line = connection.ReadLine();
    if (line == "commit")
        return;
    if (line.rfind("abort ", 0) == 0)
        throw std::runtime_error("the server refused: " + line.substr(6));
    throw std::runtime_error(FirstPhaseError);
}

void ExpectSecondCommit(utils::ServerConnection& connection)
{
    if (connection.ReadLine() != "commit")
        throw std::runtime_error(SecondPhaseError);
}

}  // namespace

void Download(const Endpoint& endpoint, const std::string& serverPath, const std::string& destination)
{
    utils::ServerConnection connection;
    Open(connection, endpoint);
    connection.SendText("client Quillwright\nservice maintenance\nrun cp " + serverPath + " ./file\nget file:dos\ncommit\n");
    connection.LimitPhase(endpoint.timeLimit);
    ExpectFirstCommit(connection);
    connection.LimitPhase(endpoint.timeLimit);
    const std::string announcement = connection.ReadLine();
    if (announcement == "commit")
        throw std::runtime_error(NoFileError);
    const std::vector<std::string> fields = utils::SplitFields(announcement, ':');
    const std::int64_t size = fields.size() < 2 ? 0 : utils::FromDecimalText(fields[1]);
    if (size <= 0)
        throw std::runtime_error(EmptyFileError);
    ExpectSecondCommit(connection);
    connection.LimitPhase(endpoint.timeLimit);
    connection.ReceiveFile(destination, static_cast<std::uint64_t>(size), nullptr, nullptr);
}

void Upload(const Endpoint& endpoint, const std::string& source, const std::string& serverPath)
{
    const std::int64_t size = utils::FileSize(source);
    if (size < 0)
        throw std::runtime_error(TempSizeError);
    utils::ServerConnection connection;
    Open(connection, endpoint);
    connection.SendText("client Quillwright\nservice maintenance\nput file:" + std::to_string(size) + ":dos\nrun cp file "
                        + serverPath + "\ncommit\n");
    connection.LimitPhase(endpoint.timeLimit);
    ExpectFirstCommit(connection);
    connection.SendFile(source, static_cast<std::uint64_t>(size), nullptr, nullptr);
    connection.LimitPhase(endpoint.timeLimit);
    ExpectSecondCommit(connection);
}

}  // namespace remote_page
