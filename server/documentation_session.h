#pragma once

#include "command_script.h"
#include "server_context.h"

namespace torvel {

// The documentation dialogue: greeting, command script up to "commit", "commit" or "abort", the
// uploads, the conversion, the announced results, "commit", the result data.
void ServeDocumentation(Conversation& conversation, const ServerContext& context);

ScriptLimits LimitsFor(const ServerOptions& options);

}  // namespace torvel
