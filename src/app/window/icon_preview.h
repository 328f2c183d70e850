#pragma once

#include "platform/icon.h"
#include "platform/wnd.h"

#include <string>

class CDialog;

// The icon of a program file, shown over the top-left corner of a placeholder control of a dialog:
// the icon of the desktop entry that runs the program, from the icon theme; the theme's executable
// icon for an existing program that no entry names; nothing for a missing file.
class IconPreview : public CWnd {
public:
    bool Create(const std::string& programFile, IconSize size, int placeholderId, CDialog& parent);
    void SetProgramFile(const std::string& programFile);
    const HICON& Icon() const { return m_icon; }

protected:
    void OnPaint() override;
    bool OnEraseBkgnd(CDC* dc) override;
    void OnEnable(bool enabled) override;

private:
    IconSize m_size = IconSize::Small;
    HICON m_icon;
};

// The icon a preview shows for a program file (a path or a name on $PATH); null for none.
HICON ProgramIcon(const std::string& programFile, IconSize size);
