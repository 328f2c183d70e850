#pragma once

#include "docsystem/postprocess_table.h"
#include "utils/text_buffer.h"

#include <string>
#include <vector>

// Replaces the rule markers of an HTML page ("88888889" id "." argument ".99999999",
// "88888887" id ".", or a name instead of the id) by the HTML texts of their rules, from the
// outside in, and strips the tags of each argument. Images that the rules' texts name with
// src="..." are appended to externalImages once each.
void ExpandRuleMarkers(utils::TextBuffer& page, const PostProcessTable& rules,
                       std::vector<std::string>& externalImages);
