#pragma once

#include "command_script.h"

#include <filesystem>

namespace torvel {

class ClientConnection;

// Receives the announced files, in announcement order, into `directory`. Text uploads get LF line
// ends; binary ones are written byte for byte. Names were checked before.
void ReceiveUploads(ClientConnection& connection, const std::vector<UploadAnnouncement>& uploads,
                    const std::filesystem::path& directory);

}  // namespace torvel
