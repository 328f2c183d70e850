#pragma once

#include "docsystem/documentation_job.h"
#include "docsystem/postprocess_table.h"
#include "utils/text_buffer.h"

#include <string>
#include <vector>

// Rewrites an HTML page in memory: local anchors of the index page, heading, table borders, style
// sheet, head lines, character set, math comments, ALT texts, rule markers, script images, footer
// and rules. External images named by the rules are appended to externalImages once each.
// pagePath names the page (only its file name counts); baseName is the document's base name as
// sent to the server. A UTF-8 page keeps its bytes and its charset declaration whatever the encoding
// setting says, and settings texts in UTF-8 reach an 8-bit page as character references.
void PostProcessHtmlText(utils::TextBuffer& page, const std::string& pagePath, const DocumentSettings& settings,
                         const PostProcessTable& rules, std::vector<std::string>& externalImages,
                         const std::string& baseName);

// PostProcessHtmlText on the file at pagePath with the process-wide rules, written back in place.
// A page that cannot be read is left alone; a page that cannot be written back throws
// std::runtime_error.
void PostProcessHtmlPage(const DocumentationJob& job, const std::string& pagePath,
                         std::vector<std::string>& externalImages, const std::string& baseName);
