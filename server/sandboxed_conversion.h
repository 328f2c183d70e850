#pragma once

#include "document_conversion.h"
#include "server_options.h"

#include <string>
#include <vector>

namespace torvel {

class Sandbox;

// The first argument with which the server program runs a job's tool chain inside the sandbox.
inline constexpr const char* kRunConversionArgument = "--run-conversion";

// Runs the tool chain of a documentation job. With bubblewrap the whole chain runs in one sandbox:
// the server program itself is started inside it and runs the tools one after another, which costs
// one sandbox per job instead of one per tool. The job's limits hold either way.
JobResult ConvertDocument(const DocumentRequest& request, const JobPaths& job, const Sandbox& sandbox,
                          const ServerOptions& options);

// The program inside the sandbox: `arguments` are those after kRunConversionArgument. Returns the
// exit status, which is the JobResult.
int RunConversionInside(const std::vector<std::string>& arguments);

}  // namespace torvel
