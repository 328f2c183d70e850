#include "command_script.h"

#include "client_connection.h"
#include "protocol_error.h"

#include <charconv>

namespace torvel {
namespace {

std::string Trim(const std::string& text)
{
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos)
        return {};
    const auto last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

TransferForm ParseForm(const std::string& form, const std::string& line)
{
    if (form == "dos")
        return TransferForm::Text;
    if (form.empty())
        return TransferForm::Binary;
    throw ProtocolError("unknown transfer form \"" + form + "\" in \"" + line + "\"");
}

std::uint64_t ParseSize(const std::string& text, const std::string& line)
{
    std::uint64_t size = 0;
    const char* end = text.data() + text.size();
    const auto [position, error] = std::from_chars(text.data(), end, size);
    if (text.empty() || error != std::errc() || position != end)
        throw ProtocolError("bad size in \"" + line + "\"");
    return size;
}

void AddUpload(CommandScript& script, const std::string& argument, const std::string& line, const ScriptLimits& limits)
{
    const auto formColon = argument.rfind(':');
    const auto sizeColon = formColon == std::string::npos || formColon == 0 ? std::string::npos : argument.rfind(':', formColon - 1);
    if (sizeColon == std::string::npos)
        throw ProtocolError("\"put\" needs NAME:SIZE:FORM, not \"" + line + "\"");
    UploadAnnouncement upload;
    upload.name = argument.substr(0, sizeColon);
    upload.size = ParseSize(argument.substr(sizeColon + 1, formColon - sizeColon - 1), line);
    upload.form = ParseForm(argument.substr(formColon + 1), line);
    if (script.uploads.size() >= limits.maximumFiles)
        throw ProtocolError("more than " + std::to_string(limits.maximumFiles) + " files");
    if (upload.size > limits.maximumUploadBytes || script.UploadBytes() + upload.size > limits.maximumUploadBytes)
        throw ProtocolError("upload larger than " + std::to_string(limits.maximumUploadBytes) + " bytes");
    script.uploads.push_back(std::move(upload));
}

void AddResult(CommandScript& script, const std::string& argument, const std::string& line, const ScriptLimits& limits)
{
    const auto colon = argument.rfind(':');
    if (colon == std::string::npos)
        throw ProtocolError("\"get\" needs NAME:FORM, not \"" + line + "\"");
    if (script.results.size() >= limits.maximumFiles)
        throw ProtocolError("more than " + std::to_string(limits.maximumFiles) + " result requests");
    script.results.push_back({argument.substr(0, colon), ParseForm(argument.substr(colon + 1), line)});
}

}  // namespace

std::uint64_t CommandScript::UploadBytes() const
{
    std::uint64_t total = 0;
    for (const auto& upload : uploads)
        total += upload.size;
    return total;
}

void AddScriptLine(CommandScript& script, const std::string& line, const ScriptLimits& limits)
{
    const std::string trimmed = Trim(line);
    const auto space = trimmed.find(' ');
    const std::string word = trimmed.substr(0, space);
    const std::string argument = space == std::string::npos ? std::string() : Trim(trimmed.substr(space + 1));
    if (word.empty() || word == "documentation" || word == "client")
        return;  // the client introducing itself
    if (word == "service") {
        if (!script.service.empty())
            throw ProtocolError("more than one \"service\" line");
        script.service = argument;
    } else if (word == "put") {
        AddUpload(script, argument, line, limits);
    } else if (word == "get" || word == "mget") {
        AddResult(script, argument, line, limits);
    } else if (word == "run") {
        script.runLines.push_back(argument);
    } else {
        throw ProtocolError("unknown command \"" + word + "\"");
    }
}

CommandScript ReadCommandScript(ClientConnection& connection, const ScriptLimits& limits)
{
    CommandScript script;
    for (std::size_t count = 0;; ++count) {
        if (count >= limits.maximumLines)
            throw ProtocolError("command script longer than " + std::to_string(limits.maximumLines) + " lines");
        const std::string line = connection.ReadLine(limits.maximumLineLength);
        if (Trim(line) == "commit")
            return script;
        AddScriptLine(script, line, limits);
    }
}

}  // namespace torvel
