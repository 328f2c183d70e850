#pragma once

#include <filesystem>

namespace torvel {

// Whether one of the LaTeX sources (".tex" files) of the job directory holds text beyond ASCII
// that reads as UTF-8 by the editor's encoding rule. The client turns the letters of its entity
// table into LaTeX accents, so a source only holds such text when it has characters beyond them.
bool SourcesHoldUtf8Text(const std::filesystem::path& work);

}  // namespace torvel
