#pragma once

#include "allow_list.h"
#include "server_context.h"
#include "server_options.h"

namespace torvel {

// Opens a connection's dialogue: reads the PROXY protocol header where the server expects one,
// applies the port's allow-list to the client's address and greets; where no header is expected, a
// client that sends one anyway is refused. Returns false for a refused client, which has had its
// "abort" line and whose log line says why.
bool AdmitClient(Conversation& conversation, const AllowList& allowList, ProxyProtocol proxyProtocol);

}  // namespace torvel
