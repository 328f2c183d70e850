#pragma once

#include "docsystem/documentation_job.h"

// The remote run: uploads the prepared sources of the job to the processing server, has it run the
// service of the job's mode and downloads and places the results. Throws on any failure; the
// connection is closed when it returns or throws.
void RunServerDialogue(DocumentationJob& job);
