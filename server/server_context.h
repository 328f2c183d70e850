#pragma once

#include "ip_address.h"
#include "job_log.h"
#include "server_options.h"

#include <string>

namespace torvel {

class ClientConnection;
class JobSlots;
class PageHistory;
class Sandbox;
class WebRoot;

// The project version, given by the build.
inline constexpr const char* kServerVersion = TORVEL_SERVER_VERSION;

// What every session of this server shares.
struct ServerContext {
    const ServerOptions& options;
    const Sandbox& sandbox;
    JobSlots& slots;
    const WebRoot& webRoot;
    const PageHistory& history;
};

// One connection's dialogue: the connection, its log line, and whether the reply has gone so far
// that an "abort" line can no longer be understood by the client.
struct Conversation {
    ClientConnection& connection;
    JobLogEntry log;
    bool replyStarted = false;
    IpAddress clientAddress;  // the connection's, or the one its PROXY protocol header carries
};

std::string Greeting();

// Sends "abort " + reason (the reply has not started) and records the refusal in the log line; a
// client that has not sent a single byte gets nothing and is logged as "no-request".
void Refuse(Conversation& conversation, const std::string& reason);

// Sends "abort " + reason in place of the greeting, to a client that may not use this port.
void TurnAway(Conversation& conversation, const std::string& reason);

}  // namespace torvel
