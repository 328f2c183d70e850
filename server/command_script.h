#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace torvel {

class ClientConnection;

// "dos" marks text (line ends are converted on upload), an empty form marks bytes kept as they are.
enum class TransferForm { Text, Binary };

struct UploadAnnouncement {
    std::string name;
    std::uint64_t size = 0;
    TransferForm form = TransferForm::Binary;
};

// A "get" names one file, an "mget" a wildcard pattern; both may name one subdirectory.
struct ResultRequest {
    std::string pattern;
    TransferForm form = TransferForm::Binary;
};

// What a client asks for, read up to its "commit".
struct CommandScript {
    std::string service;
    std::vector<UploadAnnouncement> uploads;
    std::vector<ResultRequest> results;
    std::vector<std::string> runLines;  // text after "run "
    std::uint64_t UploadBytes() const;
};

struct ScriptLimits {
    std::size_t maximumLineLength = 8192;
    std::size_t maximumLines = 1200;
    std::size_t maximumFiles = 1000;
    std::uint64_t maximumUploadBytes = 0;
};

// Adds one script line; throws ProtocolError for anything malformed or over a limit.
void AddScriptLine(CommandScript& script, const std::string& line, const ScriptLimits& limits);

// Reads lines up to "commit".
CommandScript ReadCommandScript(ClientConnection& connection, const ScriptLimits& limits);

}  // namespace torvel
