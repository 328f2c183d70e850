#include "documentation_session.h"

#include "client_connection.h"
#include "command_script.h"
#include "sandboxed_conversion.h"
#include "document_request.h"
#include "job_directory.h"
#include "job_slots.h"
#include "protocol_error.h"
#include "result_files.h"
#include "upload_receiver.h"

namespace torvel {
namespace {

void SendResults(Conversation& conversation, const std::vector<ResultFile>& results)
{
    std::string announcement;
    for (const auto& result : results)
        announcement += "file " + result.name + ":" + std::to_string(result.size) + "\n";
    conversation.connection.Send(announcement + "commit\n");
    conversation.replyStarted = true;
    for (const auto& result : results) {
        conversation.connection.SendFile(result.path, result.size);
        conversation.log.bytes += result.size;
    }
}

}  // namespace

ScriptLimits LimitsFor(const ServerOptions& options)
{
    ScriptLimits limits;
    limits.maximumUploadBytes = options.maxUpload;
    return limits;
}

void ServeDocumentation(Conversation& conversation, const ServerContext& context)
{
    ClientConnection& connection = conversation.connection;
    CommandScript script;
    DocumentRequest request;
    try {
        script = ReadCommandScript(connection, LimitsFor(context.options));
        conversation.log.service = script.service;
        request = CheckDocumentRequest(script);
    } catch (const ProtocolError& refusal) {
        Refuse(conversation, refusal.what());
        return;
    }
    conversation.log.files = script.uploads.size();
    conversation.log.bytes = script.UploadBytes();

    const auto waitStarted = std::chrono::steady_clock::now();
    const auto slot = context.slots.Acquire(conversation.clientAddress.Text());
    conversation.log.waited = std::chrono::steady_clock::now() - waitStarted;
    const JobDirectory job(context.options.workDirectory);
    connection.Send("commit\n");
    ReceiveUploads(connection, script.uploads, job.Work());

    const JobResult result = ConvertDocument(request, job.Paths(), context.sandbox, context.options);
    SendResults(conversation, FindResultFiles(job.Work(), script.results));
    conversation.log.result = JobResultText(result);
}

}  // namespace torvel
