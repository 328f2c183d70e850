#include "document_request.h"

#include "protocol_error.h"
#include "upload_name.h"

#include <algorithm>
#include <map>
#include <regex>
#include <set>

namespace torvel {
namespace {

const std::map<std::string, DocumentService>& Services()
{
    static const std::map<std::string, DocumentService> services = {{"tex2ps", DocumentService::PostScript},
                                                                     {"tex2pdf", DocumentService::Pdf},
                                                                     {"tex2html", DocumentService::Html},
                                                                     {"cstex2html", DocumentService::CzechHtml}};
    return services;
}


// The main file's name reaches LaTeX, dvips and Ghostscript as an argument and as part of output
// names; Ghostscript gives "%" a meaning of its own, so only plain names are run.
void CheckMainFile(const std::string& mainFile, const CommandScript& script)
{
    static const std::regex plainName(R"([A-Za-z0-9_][A-Za-z0-9_.+-]*\.tex)");
    if (!std::regex_match(mainFile, plainName))
        throw ProtocolError("main file \"" + mainFile +
                            "\" must end in .tex and may only contain letters, digits, \".\", \"_\", \"+\" and \"-\"");
    const bool uploaded = std::any_of(script.uploads.begin(), script.uploads.end(),
                                      [&](const UploadAnnouncement& upload) { return upload.name == mainFile; });
    if (!uploaded)
        throw ProtocolError("main file \"" + mainFile + "\" is not among the uploaded files");
}

std::string CheckPatternPart(const std::string& part, const std::string& pattern)
{
    if (part.empty() || part.find("..") != std::string::npos || part.find('\\') != std::string::npos ||
        part.find('\0') != std::string::npos)
        throw ProtocolError("result request \"" + pattern + "\" is not a plain file name or pattern");
    return part;
}

}  // namespace

DocumentService ServiceNamed(const std::string& name)
{
    if (name.empty())
        throw ProtocolError("no \"service\" line");
    if (name == "pdflatex2ps")
        throw ProtocolError("service pdflatex2ps is not offered by this server; use tex2ps or tex2pdf");
    if (name == "maintenance")
        throw ProtocolError("service maintenance is offered on the maintenance port only");
    const auto service = Services().find(name);
    if (service == Services().end())
        throw ProtocolError("unknown service \"" + name + "\"");
    return service->second;
}

std::string ServiceName(DocumentService service)
{
    for (const auto& [name, value] : Services()) {
        if (value == service)
            return name;
    }
    return {};
}

bool IsHtml(DocumentService service)
{
    return service == DocumentService::Html || service == DocumentService::CzechHtml;
}

void CheckUploads(const CommandScript& script)
{
    std::set<std::string> names;
    for (const auto& upload : script.uploads) {
        const std::string problem = CheckUploadName(upload.name);
        if (!problem.empty())
            throw ProtocolError("upload refused: " + problem);
        if (!names.insert(upload.name).second)
            throw ProtocolError("file \"" + upload.name + "\" is announced twice");
    }
}

void CheckResultRequests(const CommandScript& script)
{
    for (const auto& request : script.results) {
        const auto slash = request.pattern.find('/');
        if (slash != std::string::npos && request.pattern.find('/', slash + 1) != std::string::npos)
            throw ProtocolError("result request \"" + request.pattern + "\" reaches more than one directory down");
        if (slash != std::string::npos)
            CheckPatternPart(request.pattern.substr(0, slash), request.pattern);
        CheckPatternPart(request.pattern.substr(slash == std::string::npos ? 0 : slash + 1), request.pattern);
    }
}

DocumentRequest CheckDocumentRequest(const CommandScript& script)
{
    DocumentRequest request;
    request.service = ServiceNamed(script.service);
    CheckUploads(script);
    CheckResultRequests(script);
    if (script.runLines.size() != 1)
        throw ProtocolError("expected one \"run\" line, got " + std::to_string(script.runLines.size()));
    const std::string& run = script.runLines.front();
    const auto firstSpace = run.find(' ');
    if (run.substr(0, firstSpace) != script.service)
        throw ProtocolError("\"run\" names a service other than \"" + script.service + "\"");
    const std::string rest = firstSpace == std::string::npos ? std::string() : run.substr(firstSpace + 1);
    const auto secondSpace = rest.find(' ');
    request.mainFile = rest.substr(0, secondSpace);
    CheckMainFile(request.mainFile, script);
    const std::string options = secondSpace == std::string::npos ? std::string() : rest.substr(secondSpace + 1);
    if (IsHtml(request.service))
        request.htmlOptions = ParseHtmlOptions(options);
    else if (options.find_first_not_of(' ') != std::string::npos)
        throw ProtocolError("service " + script.service + " takes no options");
    return request;
}

}  // namespace torvel
