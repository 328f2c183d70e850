#include "log_note.h"

#include <fcntl.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

namespace torvel {

void NoteInLog(const std::filesystem::path& log, const std::string& text)
{
    // O_NOFOLLOW: the log lies in the directory the tools write to.
    const int descriptor = ::open(log.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC | O_NOFOLLOW, 0644);
    if (descriptor < 0)
        return;
    const std::string line = "\n! torvel-server: " + text + "\n";
    [[maybe_unused]] const auto written = ::write(descriptor, line.data(), line.size());
    ::close(descriptor);
}

std::string TranscriptTail(const std::filesystem::path& transcript)
{
    constexpr std::size_t kTail = 4000;
    std::ifstream file(transcript, std::ios::binary);
    std::ostringstream contents;
    contents << file.rdbuf();
    const std::string text = contents.str();
    return text.size() > kTail ? "..." + text.substr(text.size() - kTail) : text;
}

}  // namespace torvel
