#pragma once

#include "job_log.h"
#include "server_options.h"

#include <string>

namespace torvel {

class ClientConnection;
class JobSlots;
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
};

// One connection's dialogue: the connection, its log line, and whether the reply has gone so far
// that an "abort" line can no longer be understood by the client.
struct Conversation {
    ClientConnection& connection;
    JobLogEntry log;
    bool replyStarted = false;
};

std::string Greeting();

// Sends "abort " + reason (the reply has not started) and records the refusal in the log line; a
// client that has not sent a single byte gets nothing and is logged as "no-request".
void Refuse(Conversation& conversation, const std::string& reason);

}  // namespace torvel
