#include "server_context.h"

#include "client_connection.h"

namespace torvel {

std::string Greeting()
{
    return std::string("TORVEL server ") + kServerVersion + "\n";
}

void Refuse(Conversation& conversation, const std::string& reason)
{
    if (!conversation.connection.HasSpoken()) {
        conversation.log.result = "no-request";  // a health check, or a client that gave up at once
        return;
    }
    conversation.log.result = "refused: " + reason;
    conversation.connection.Send("abort " + reason + "\n");
    conversation.replyStarted = true;
}

void TurnAway(Conversation& conversation, const std::string& reason)
{
    conversation.log.result = "refused: " + reason;
    conversation.connection.Send("abort " + reason + "\n");
    conversation.replyStarted = true;
}

}  // namespace torvel
