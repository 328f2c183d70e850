#pragma once

#include "server_context.h"

namespace torvel {

// The maintenance dialogue: copies one page, "file" in the job, from or to the web root.
void ServeMaintenance(Conversation& conversation, const ServerContext& context);

}  // namespace torvel
