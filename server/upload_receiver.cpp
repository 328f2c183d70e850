#include "upload_receiver.h"

#include "client_connection.h"
#include "text_upload.h"
#include "utils/file_descriptor.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace torvel {
namespace {

void WriteAll(int descriptor, std::string_view bytes, const std::string& name)
{
    while (!bytes.empty()) {
        const ssize_t written = ::write(descriptor, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR)
            continue;
        if (written < 0)
            throw std::runtime_error("cannot store " + name + ": " + std::strerror(errno));
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
}

}  // namespace

void ReceiveUploads(ClientConnection& connection, const std::vector<UploadAnnouncement>& uploads,
                    const std::filesystem::path& directory)
{
    for (const auto& upload : uploads) {
        const std::filesystem::path path = directory / upload.name;
        utils::FileDescriptor file(::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644));
        if (!file.IsOpen())
            throw std::runtime_error("cannot store " + upload.name + ": " + std::strerror(errno));
        TextUploadConverter converter;
        connection.ReceiveBlock(upload.size, [&](std::string_view piece) {
            if (upload.form == TransferForm::Text)
                WriteAll(file.Get(), converter.Convert(piece), upload.name);
            else
                WriteAll(file.Get(), piece, upload.name);
        });
        WriteAll(file.Get(), converter.Finish(), upload.name);
    }
}

}  // namespace torvel
