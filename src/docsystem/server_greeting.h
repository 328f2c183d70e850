#pragma once

// The start of every conversation with the processing server, shared by the clients that talk to it.

#include "utils/server_connection.h"

#include <string>

// Reads the server's first line and returns when it is the greeting. A server that does not admit
// this client sends "abort " + its reason instead, thrown as ThrowConnectionAborted does; any other
// line means a wrong server or service.
void ExpectServerGreeting(utils::ServerConnection& connection);

// Throws std::runtime_error "Connection aborted: " + reason, the report of an "abort" reply.
[[noreturn]] void ThrowConnectionAborted(const std::string& reason);
