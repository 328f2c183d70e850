#pragma once

#include "docsystem/documentation_job.h"

#include <string>
#include <vector>

// Rewrites the HTML page at pagePath in place with the process-wide rules: local anchors of the index
// page, heading, table borders, style sheet, head lines, character set, math comments, ALT texts,
// rule markers, script images, footer and rules. External images named by the rules are appended to
// externalImages once each. baseName is the document's base name as sent to the server.
// A page that cannot be read is left alone; write errors are not reported.
void PostProcessHtmlPage(const DocumentationJob& job, const std::string& pagePath,
                         std::vector<std::string>& externalImages, const std::string& baseName);
