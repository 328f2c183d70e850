#pragma once

#include "command_script.h"
#include "html_options.h"

#include <string>

namespace torvel {

enum class DocumentService { PostScript, Pdf, Html, CzechHtml };

// What a documentation client asked for, checked before any byte is uploaded.
struct DocumentRequest {
    DocumentService service = DocumentService::PostScript;
    std::string mainFile;  // an uploaded .tex file
    HtmlOptions htmlOptions;
    std::string BaseName() const { return mainFile.substr(0, mainFile.size() - 4); }
};

// The service of a "service" line; throws ProtocolError for the ones this server does not offer.
DocumentService ServiceNamed(const std::string& name);
std::string ServiceName(DocumentService service);
bool IsHtml(DocumentService service);

// Throws ProtocolError with the reason for the abort when the script asks for something this server
// does not do or does not allow.
DocumentRequest CheckDocumentRequest(const CommandScript& script);

// Checks every "get" and "mget": a file name or pattern, at most below one subdirectory.
void CheckResultRequests(const CommandScript& script);

// Checks the "put" lines: flat, distinct names.
void CheckUploads(const CommandScript& script);

}  // namespace torvel
