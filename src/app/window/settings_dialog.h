#pragma once

#include "app/window/icon_preview.h"
#include "platform/dialog.h"

#include <array>
#include <string>

// The five settings the Settings dialog edits, as the profile holds them.
struct EditorSettings {
    std::string address;
    std::string htmlOptions;
    std::string postScriptViewer;
    std::string pdfViewer;
    std::string htmlViewer;
};

// Preferences → Options: the server address, the latex2html options and the three viewers, with a
// browse button, a Find button (the desktop's default application) and an icon for each viewer.
class CSettingsDlg : public CDialog {
public:
    static constexpr UINT TemplateId = 131;

    explicit CSettingsDlg(CWnd* parent = nullptr);

    EditorSettings m_settings;

    IconPreview& Preview(std::size_t row) { return m_previews[row]; }

protected:
    bool OnInitDialog() override;
    void DoDataExchange(CDataExchange* exchange) override;
    // Refuses an address that is not HOST:PORT, with a message, and keeps the dialog open.
    void OnOK() override;

private:
    struct ViewerRow;
    static const std::array<ViewerRow, 3>& Rows();
    std::string& ViewerField(std::size_t row);
    void Browse(std::size_t row);
    void FindDefaultApplication(std::size_t row);
    void ViewerTextChanged(std::size_t row);

    std::array<IconPreview, 3> m_previews;
};

// Registers dialog template 131.
void RegisterSettingsDialogTemplate();

// Runs the dialog on the "settings" group of the application's profile; OK writes all five values,
// Cancel nothing.
void RunSettingsDialog(CWnd* parent);
