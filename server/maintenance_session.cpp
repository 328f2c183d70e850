#include "maintenance_session.h"

#include "client_connection.h"
#include "command_script.h"
#include "document_request.h"
#include "documentation_session.h"
#include "job_directory.h"
#include "job_log.h"
#include "page_store.h"
#include "protocol_error.h"
#include "upload_receiver.h"
#include "web_root.h"

#include <optional>

namespace torvel {
namespace {

const std::string kJobFile = "file";

enum class CopyDirection { PageToClient, ClientToPage };

struct PageCopy {
    CopyDirection direction = CopyDirection::PageToClient;
    std::string clientPath;  // the page as the client names it
};

bool IsJobFile(const std::string& name)
{
    return name == kJobFile || name == "./" + kJobFile;
}

PageCopy CheckMaintenanceRequest(const CommandScript& script)
{
    if (script.service != "maintenance")
        throw ProtocolError("this port offers the service maintenance only, not \"" + script.service + "\"");
    CheckUploads(script);
    if (script.runLines.size() != 1)
        throw ProtocolError("expected one \"run\" line, got " + std::to_string(script.runLines.size()));
    const std::string& run = script.runLines.front();
    const auto first = run.find(' ');
    const auto second = first == std::string::npos ? std::string::npos : run.find(' ', first + 1);
    const std::string usage = "maintenance runs \"cp PAGE ./file\" or \"cp file PAGE\"";
    if (second == std::string::npos || run.substr(0, first) != "cp")
        throw ProtocolError(usage);
    const std::string from = run.substr(first + 1, second - first - 1);
    const std::string to = run.substr(second + 1);
    const bool oneUpload = script.uploads.size() == 1 && script.uploads.front().name == kJobFile;
    if (IsJobFile(to) && script.uploads.empty())
        return {CopyDirection::PageToClient, from};
    if (IsJobFile(from) && oneUpload)
        return {CopyDirection::ClientToPage, to};
    throw ProtocolError(usage);
}

void SendPage(Conversation& conversation, const std::optional<std::filesystem::path>& page, const JobDirectory& job)
{
    ClientConnection& connection = conversation.connection;
    connection.Send("commit\n");
    conversation.replyStarted = true;
    if (!page) {
        connection.Send("commit\n");  // no file line: the client reports a missing page
        conversation.log.result = "no-such-page";
        return;
    }
    const std::filesystem::path copy = job.Work() / kJobFile;
    std::filesystem::copy_file(*page, copy);
    const auto size = std::filesystem::file_size(copy);
    connection.Send("file " + kJobFile + ":" + std::to_string(size) + "\ncommit\n");
    connection.SendFile(copy, size);
    conversation.log.files = 1;
    conversation.log.bytes = size;
    conversation.log.result = "ok";
}

void LogStore(const Conversation& conversation, const std::string& clientPath, const StoredPage& stored)
{
    WriteLogLine("page stored client=" + conversation.log.client + " page=" + clientPath + " size=" +
                 std::to_string(stored.size) + " sha256=" + stored.sha256 +
                 " kept=" + (stored.keptVersion ? stored.keptVersion->string() : std::string("-")));
    if (!stored.historyProblem.empty())
        WriteLogLine("page history of " + clientPath + ": " + stored.historyProblem);
}

void ReceivePage(Conversation& conversation, const ServerContext& context, const CommandScript& script,
                 const PageCopy& copy, const std::filesystem::path& target, const JobDirectory& job)
{
    ClientConnection& connection = conversation.connection;
    connection.Send("commit\n");
    ReceiveUploads(connection, script.uploads, job.Work());
    conversation.log.files = 1;
    conversation.log.bytes = script.UploadBytes();
    try {
        LogStore(conversation, copy.clientPath, StorePage(job.Work() / kJobFile, target, context.history));
    } catch (const std::exception& failure) {
        Refuse(conversation, failure.what());
        return;
    }
    connection.Send("commit\n");
    conversation.replyStarted = true;
    conversation.log.result = "ok";
}

}  // namespace

void ServeMaintenance(Conversation& conversation, const ServerContext& context)
{
    ClientConnection& connection = conversation.connection;
    CommandScript script;
    PageCopy copy;
    std::optional<std::filesystem::path> source;
    std::filesystem::path target;
    try {
        ScriptLimits limits = LimitsFor(context.options);
        limits.maximumFiles = 1;
        script = ReadCommandScript(connection, limits);
        conversation.log.service = script.service;
        copy = CheckMaintenanceRequest(script);
        if (copy.direction == CopyDirection::PageToClient)
            source = context.webRoot.PageToRead(copy.clientPath);
        else
            target = context.webRoot.PageToWrite(copy.clientPath);
    } catch (const ProtocolError& refusal) {
        Refuse(conversation, refusal.what());
        return;
    }
    const JobDirectory job(context.options.workDirectory);
    if (copy.direction == CopyDirection::PageToClient)
        SendPage(conversation, source, job);
    else
        ReceivePage(conversation, context, script, copy, target, job);
}

}  // namespace torvel
