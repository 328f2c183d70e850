#pragma once

#include "buffer/buffer_view.h"
#include "buffer/quill_text_buffer.h"
#include "buffer/text_change.h"

#include <filesystem>
#include <string>
#include <vector>

#include <ostream>

// Readable positions in test failure messages.
inline void PrintTo(const TextPosition& position, std::ostream* stream)
{
    *stream << "(char " << position.character << ", line " << position.line << ")";
}

namespace buffer_test {

// A fresh directory under the system's temporary directory, removed with everything in it.
class TemporaryDirectory {
public:
    TemporaryDirectory();
    ~TemporaryDirectory();
    TemporaryDirectory(const TemporaryDirectory&) = delete;
    TemporaryDirectory& operator=(const TemporaryDirectory&) = delete;

    const std::filesystem::path& Path() const { return m_path; }
    std::string File(const std::string& name) const { return (m_path / name).string(); }
    // The names of the entries, sorted.
    std::vector<std::string> Entries() const;

private:
    std::filesystem::path m_path;
};

std::string ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::string& bytes);

// Every line of the buffer, in order.
std::vector<std::string> Lines(const CQuillTextBuffer& buffer);

// A buffer holding the given lines (via CreateEmpty and one insertion joined by "\r\n"), unmodified
// and with an empty undo list.
void Fill(CQuillTextBuffer& buffer, const std::vector<std::string>& lines);

// One notification as a view received it.
struct Notification {
    BufferView* source = nullptr;
    bool hasChange = false;
    std::uint32_t hints = 0;
    std::int32_t line = 0;
};

// A view that keeps what the buffer tells it, and moves one stored position with every change as a
// real view moves its caret.
class RecordingView : public BufferView {
public:
    void OnBufferChanged(BufferView* source, const TextChange* change, std::uint32_t hints,
                         std::int32_t line) override;
    void EditNotify(std::int32_t action, std::string_view text) override;

    std::vector<Notification> notifications;
    std::vector<std::pair<std::int32_t, std::string>> editNotifications;
    TextPosition trackedPosition;
};

}  // namespace buffer_test
