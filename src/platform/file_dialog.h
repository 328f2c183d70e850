#pragma once

#include "platform/win_types.h"

#include <string>

class CWnd;

constexpr DWORD OFN_OVERWRITEPROMPT = 0x00000002;
constexpr DWORD OFN_HIDEREADONLY = 0x00000004;
constexpr DWORD OFN_PATHMUSTEXIST = 0x00000800;
constexpr DWORD OFN_FILEMUSTEXIST = 0x00001000;

enum class FileDialogPurpose { Open, Save };

// The Open and Save As dialogs. The filter is "description|patterns|...|" with ";" between
// patterns. With OFN_FILEMUSTEXIST a file that does not exist is refused (and the user asked
// again); with OFN_OVERWRITEPROMPT choosing an existing file asks whether to replace it.
class CFileDialog {
public:
    CFileDialog(FileDialogPurpose purpose, const std::string& defaultExtension = {}, const std::string& fileName = {},
                DWORD flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, const std::string& filter = {},
                CWnd* parent = nullptr);

    // IDOK when the user chose a file, IDCANCEL otherwise.
    INT_PTR DoModal();
    std::string GetPathName() const { return m_pathName; }

private:
    bool Acceptable(std::string& path);

    FileDialogPurpose m_purpose;
    std::string m_defaultExtension;
    std::string m_initialName;
    DWORD m_flags;
    std::string m_filter;
    std::string m_pathName;
};
