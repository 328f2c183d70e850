#pragma once

#include "docsystem/documentation_job.h"
#include "docsystem/job_names.h"

// Collects the job's sources and prepares them for the upload: conditional sections, the preamble
// and entities, the document's settings and, except for HTML, the translation table. Each source
// keeps the map of its lines back to the user's file.
void PrepareSources(DocumentationJob& job, const JobNames& names);
