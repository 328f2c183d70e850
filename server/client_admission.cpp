#include "client_admission.h"

#include "client_connection.h"
#include "protocol_error.h"
#include "proxy_header.h"

namespace torvel {
namespace {

ProxyHeader ReadProxyHeader(ClientConnection& connection)
{
    for (;;) {
        const ProxyParseResult parsed = ParseProxyHeader(connection.Received());
        if (parsed.status == ProxyParseStatus::Complete) {
            connection.DiscardHeader(parsed.length);
            return parsed.header;
        }
        if (parsed.status == ProxyParseStatus::Invalid)
            throw ProtocolError(parsed.problem);
        try {
            connection.ReceiveMore();
        } catch (const ProtocolError& failure) {
            throw ProtocolError(std::string("PROXY protocol header cut short: ") + failure.what());
        }
    }
}

// Without a balancer in front, a header can only come from a client that wants to choose the
// address it is judged by.
void RefuseProxyHeader(ClientConnection& connection)
{
    for (;;) {
        switch (DetectProxySignature(connection.Received())) {
        case ProxySignature::Absent: return;
        case ProxySignature::Present: throw ProtocolError("PROXY protocol header not accepted on this port");
        case ProxySignature::Undecided: connection.ReceiveMore(); break;
        }
    }
}

}  // namespace

bool AdmitClient(Conversation& conversation, const AllowList& allowList, ProxyProtocol proxyProtocol)
{
    ClientConnection& connection = conversation.connection;
    if (!connection.Peer()) {
        conversation.log.client = "unknown";
        conversation.log.result = "failed: the client left before it was served";
        return false;
    }
    ClientAddress client = *connection.Peer();
    conversation.log.client = client.Text();
    try {
        if (proxyProtocol == ProxyProtocol::Accept) {
            const ProxyHeader header = ReadProxyHeader(connection);
            if (header.client) {
                client = *header.client;
                conversation.log.proxy = conversation.log.client;
                conversation.log.client = client.Text();
            }
        }
    } catch (const ProtocolError& refusal) {
        if (!connection.HasSpoken() && connection.HasFinishedSending())
            conversation.log.result = "no-request";  // a balancer's plain connection check
        else
            TurnAway(conversation, refusal.what());  // a balancer that sends no header hears why
        return false;
    }
    conversation.clientAddress = client.address;
    if (!allowList.Allows(client.address)) {
        TurnAway(conversation, "client address " + client.address.Text() + " is not allowed on this port");
        return false;
    }
    connection.Send(Greeting());
    try {
        if (proxyProtocol == ProxyProtocol::Refuse)
            RefuseProxyHeader(connection);
    } catch (const ProtocolError& refusal) {
        Refuse(conversation, refusal.what());
        return false;
    }
    return true;
}

}  // namespace torvel
