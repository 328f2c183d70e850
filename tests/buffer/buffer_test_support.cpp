#include "buffer_test_support.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace buffer_test {

TemporaryDirectory::TemporaryDirectory()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "quill-buffer-test-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot create a temporary directory");
    }
    m_path = pattern;
}

TemporaryDirectory::~TemporaryDirectory()
{
    std::error_code ignored;
    std::filesystem::permissions(m_path, std::filesystem::perms::owner_all, ignored);
    std::filesystem::remove_all(m_path, ignored);
}

std::vector<std::string> TemporaryDirectory::Entries() const
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(m_path)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::string ReadBytes(const std::string& path)
{
    std::ifstream stream(path, std::ios::binary);
    if (!stream) {
        throw std::runtime_error("cannot read " + path);
    }
    return {std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>()};
}

void WriteBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream stream(path, std::ios::binary | std::ios::trunc);
    stream.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!stream.flush()) {
        throw std::runtime_error("cannot write " + path);
    }
}

std::vector<std::string> Lines(const CQuillTextBuffer& buffer)
{
    std::vector<std::string> lines;
    for (std::int32_t line = 0; line < buffer.LineCount(); ++line) {
        lines.emplace_back(buffer.LineChars(line), static_cast<std::size_t>(buffer.LineLength(line)));
    }
    return lines;
}

void Fill(CQuillTextBuffer& buffer, const std::vector<std::string>& lines)
{
    buffer.CreateEmpty(LineEndingStyle::CrLf);
    std::string text;
    for (std::size_t index = 0; index < lines.size(); ++index) {
        text += (index > 0 ? "\r\n" : "") + lines[index];
    }
    std::int32_t endLine = 0;
    std::int32_t endChar = 0;
    buffer.RawInsertText(nullptr, 0, 0, text, endLine, endChar);
    buffer.SetModified(false);
}

void RecordingView::OnBufferChanged(BufferView* source, const TextChange* change, std::uint32_t hints,
                                    std::int32_t line)
{
    notifications.push_back({source, change != nullptr, hints, line});
    if (change != nullptr) {
        change->AdjustPosition(trackedPosition);
    }
}

void RecordingView::EditNotify(std::int32_t action, std::string_view text)
{
    editNotifications.emplace_back(action, std::string(text));
}

}  // namespace buffer_test
