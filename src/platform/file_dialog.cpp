#include "platform/file_dialog.h"

#include "platform/backend.h"
#include "platform/command_ids.h"
#include "platform/message_box.h"

#include <filesystem>

namespace {

// "description|patterns|description|patterns|" with ";" between the patterns of one filter.
std::vector<platform::FileFilter> ParseFilter(const std::string& filter)
{
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (std::size_t bar = filter.find('|'); bar != std::string::npos; bar = filter.find('|', start)) {
        fields.push_back(filter.substr(start, bar - start));
        start = bar + 1;
    }
    std::vector<platform::FileFilter> filters;
    for (std::size_t index = 0; index + 1 < fields.size(); index += 2) {
        platform::FileFilter entry{fields[index], {}};
        std::size_t patternStart = 0;
        const std::string& patterns = fields[index + 1];
        for (std::size_t semicolon = patterns.find(';'); ; semicolon = patterns.find(';', patternStart)) {
            entry.patterns.push_back(patterns.substr(patternStart, semicolon - patternStart));
            if (semicolon == std::string::npos)
                break;
            patternStart = semicolon + 1;
        }
        filters.push_back(entry);
    }
    return filters;
}

}  // namespace

CFileDialog::CFileDialog(FileDialogPurpose purpose, const std::string& defaultExtension, const std::string& fileName,
                         DWORD flags, const std::string& filter, CWnd*)
    : m_purpose(purpose), m_defaultExtension(defaultExtension), m_initialName(fileName), m_flags(flags), m_filter(filter)
{
}

INT_PTR CFileDialog::DoModal()
{
    platform::FileDialogRequest request;
    request.kind = m_purpose == FileDialogPurpose::Open ? platform::FileDialogKind::Open : platform::FileDialogKind::Save;
    request.initialPath = m_initialName;
    request.filters = ParseFilter(m_filter);
    for (;;) {
        auto chosen = platform::Backend::Current().ChooseFile(request);
        if (!chosen)
            return IDCANCEL;
        std::string path = *chosen;
        if (Acceptable(path)) {
            m_pathName = path;
            return IDOK;
        }
        request.initialPath = path;
    }
}

bool CFileDialog::Acceptable(std::string& path)
{
    std::string extension = m_defaultExtension;
    if (!extension.empty() && extension.front() == '*')
        extension.erase(0, 1);
    if (!extension.empty() && extension.front() == '.')
        extension.erase(0, 1);
    if (m_purpose == FileDialogPurpose::Save && !extension.empty() && std::filesystem::path(path).extension().empty())
        path += "." + extension;
    std::error_code error;
    const bool exists = std::filesystem::exists(path, error);
    if ((m_flags & OFN_FILEMUSTEXIST) != 0 && !exists) {
        AfxMessageBox(path + "\nFile not found.\nCheck the file name and try again.", MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    if (m_purpose == FileDialogPurpose::Save && (m_flags & OFN_OVERWRITEPROMPT) != 0 && exists)
        return AfxMessageBox(path + " already exists.\nDo you want to replace it?", MB_YESNO | MB_ICONEXCLAMATION) == IDYES;
    return true;
}
