#pragma once

#include <string>
#include <string_view>

// How the command line decides what the editor opens: the whole line is one file name or address,
// and it fixes the document type for the whole run.
enum class DocumentKind { Latex, Html };

// The line without one pair of enclosing double quotes (both present, and the line at least two
// characters long); nothing else is parsed.
std::string UnquotedCommandLine(std::string_view commandLine);

// An address beginning with "http://" or "ftp://", compared with case.
bool IsRemoteAddress(std::string_view name);

// Html for a remote address or a name whose extension (the text after its last ".") begins with
// "htm" in any letter case; Latex otherwise.
DocumentKind ChooseDocumentKind(std::string_view name);
