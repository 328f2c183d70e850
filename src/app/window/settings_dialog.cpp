#include "app/window/settings_dialog.h"

#include "app/default_settings.h"
#include "app/mime_associations.h"
#include "app/server_address_check.h"
#include "platform/command_ids.h"
#include "platform/file_dialog.h"
#include "platform/message_box.h"
#include "platform/messages.h"
#include "platform/resources.h"
#include "platform/win_app.h"
#include "utils/message_format.h"

namespace {

enum ControlId : int {
    AddressEdit = 1000,
    PostScriptEdit = 1001,
    PostScriptBrowse = 1002,
    PostScriptFind = 1003,
    PdfEdit = 1004,
    PdfBrowse = 1005,
    PdfFind = 1006,
    HtmlEdit = 1007,
    HtmlBrowse = 1008,
    HtmlFind = 1009,
    PostScriptIcon = 1010,
    PdfIcon = 1011,
    HtmlIcon = 1012,
    HtmlOptionsEdit = 1013,
};

constexpr const char* DefaultApplicationFound = "Default application for extension '{}' was found:\n{}";
constexpr const char* DefaultApplicationNotFound = "Default application for extension '{}' was not found";

platform::DialogTemplate SettingsTemplate()
{
    using platform::DialogItemKind;
    platform::DialogTemplate dialog{"Settings", 300, 176, {}};
    dialog.items = {
        {IDC_STATIC, DialogItemKind::GroupBox, "LaTeX server", 6, 4, 288, 66, 0},
        {IDC_STATIC, DialogItemKind::Label, "Enter the address in the form <hostname>:<port>", 14, 16, 270, 8, 0},
        {AddressEdit, DialogItemKind::Edit, "", 14, 26, 272, 12, 0},
        {IDC_STATIC, DialogItemKind::Label, "Command line to LaTeX2HTML", 14, 42, 270, 8, 0},
        {HtmlOptionsEdit, DialogItemKind::Edit, "", 14, 52, 272, 12, 0},
        {IDC_STATIC, DialogItemKind::GroupBox, "Viewers", 6, 74, 288, 76, 0},
    };
    struct Row { const char* label; int icon, edit, browse, find; };
    const Row rows[] = {{"Postscript", PostScriptIcon, PostScriptEdit, PostScriptBrowse, PostScriptFind},
                        {"PDF", PdfIcon, PdfEdit, PdfBrowse, PdfFind},
                        {"HTML", HtmlIcon, HtmlEdit, HtmlBrowse, HtmlFind}};
    int y = 88;
    for (const Row& row : rows) {
        dialog.items.push_back({IDC_STATIC, DialogItemKind::Label, row.label, 14, y + 2, 40, 8, 0});
        dialog.items.push_back({row.icon, DialogItemKind::Placeholder, "", 56, y, 12, 12, 0});
        dialog.items.push_back({row.edit, DialogItemKind::Edit, "", 72, y, 150, 12, 0});
        dialog.items.push_back({row.browse, DialogItemKind::PushButton, "...", 226, y, 18, 12, 0});
        dialog.items.push_back({row.find, DialogItemKind::PushButton, "Find", 248, y, 38, 12, 0});
        y += 19;
    }
    dialog.items.push_back({static_cast<int>(IDOK), DialogItemKind::DefaultPushButton, "OK", 188, 156, 50, 14, 0});
    dialog.items.push_back({static_cast<int>(IDCANCEL), DialogItemKind::PushButton, "Cancel", 244, 156, 50, 14, 0});
    return dialog;
}

}  // namespace

struct CSettingsDlg::ViewerRow {
    const char* extension;
    int edit;
    int browse;
    int find;
    int icon;
};

const std::array<CSettingsDlg::ViewerRow, 3>& CSettingsDlg::Rows()
{
    static const std::array<ViewerRow, 3> rows = {{{"ps", PostScriptEdit, PostScriptBrowse, PostScriptFind, PostScriptIcon},
                                                   {"pdf", PdfEdit, PdfBrowse, PdfFind, PdfIcon},
                                                   {"html", HtmlEdit, HtmlBrowse, HtmlFind, HtmlIcon}}};
    return rows;
}

CSettingsDlg::CSettingsDlg(CWnd* parent) : CDialog(TemplateId, parent)
{
    for (std::size_t row = 0; row < Rows().size(); ++row) {
        MapCommand(static_cast<UINT>(Rows()[row].browse), [this, row] { Browse(row); });
        MapCommand(static_cast<UINT>(Rows()[row].find), [this, row] { FindDefaultApplication(row); });
        MapNotification(static_cast<UINT>(Rows()[row].edit), EN_CHANGE, [this, row] { ViewerTextChanged(row); });
    }
}

std::string& CSettingsDlg::ViewerField(std::size_t row)
{
    std::array<std::string*, 3> fields = {&m_settings.postScriptViewer, &m_settings.pdfViewer, &m_settings.htmlViewer};
    return *fields[row];
}

void CSettingsDlg::DoDataExchange(CDataExchange* exchange)
{
    DDX_Text(exchange, AddressEdit, m_settings.address);
    DDX_Text(exchange, HtmlOptionsEdit, m_settings.htmlOptions);
    for (std::size_t row = 0; row < Rows().size(); ++row)
        DDX_Text(exchange, Rows()[row].edit, ViewerField(row));
}

bool CSettingsDlg::OnInitDialog()
{
    const bool result = CDialog::OnInitDialog();
    for (std::size_t row = 0; row < Rows().size(); ++row)
        m_previews[row].Create(ViewerField(row), IconSize::Small, Rows()[row].icon, *this);
    return result;
}

void CSettingsDlg::OnOK()
{
    if (!UpdateData(DataDirection::FromControls))
        return;
    const std::string problem = app::ServerAddressProblem(m_settings.address);
    if (!problem.empty()) {
        AfxMessageBox(problem, MB_OK | MB_ICONEXCLAMATION);
        if (CWnd* edit = GetDlgItem(AddressEdit))
            edit->SetFocus();
        return;
    }
    EndDialog(IDOK);
}

void CSettingsDlg::Browse(std::size_t row)
{
    UpdateData(DataDirection::FromControls);
    // Programs here have no extension; the filter offers programs and scripts and everything else.
    CFileDialog dialog(FileDialogPurpose::Open, "", ViewerField(row), OFN_FILEMUSTEXIST | OFN_HIDEREADONLY,
                       "Programs (*)|*|Scripts (*.sh)|*.sh||", this);
    if (dialog.DoModal() != IDOK)
        return;
    ViewerField(row) = dialog.GetPathName();
    m_previews[row].SetProgramFile(ViewerField(row));
    UpdateData(DataDirection::ToControls);
}

void CSettingsDlg::FindDefaultApplication(std::size_t row)
{
    const char* extension = Rows()[row].extension;
    const std::string program = app::FindAssociatedApplication(extension);
    if (program.empty()) {
        AfxMessageBox((utils::MessageFormat(DefaultApplicationNotFound) % extension).Text(), MB_OK | MB_ICONINFORMATION);
        return;
    }
    UpdateData(DataDirection::FromControls);
    ViewerField(row) = program;
    m_previews[row].SetProgramFile(program);
    UpdateData(DataDirection::ToControls);
    AfxMessageBox((utils::MessageFormat(DefaultApplicationFound) % extension % program).Text(), MB_OK | MB_ICONINFORMATION);
}

void CSettingsDlg::ViewerTextChanged(std::size_t row)
{
    CWnd* edit = GetDlgItem(Rows()[row].edit);
    if (edit != nullptr && m_previews[row].GetSafeHwnd() != nullptr)
        m_previews[row].SetProgramFile(edit->GetWindowText());
}

void RegisterSettingsDialogTemplate()
{
    if (platform::resources::FindDialog(CSettingsDlg::TemplateId) == nullptr)
        platform::resources::AddDialog(CSettingsDlg::TemplateId, SettingsTemplate());
}

void RunSettingsDialog(CWnd* parent)
{
    CWinApp* application = AfxGetApp();
    RegisterSettingsDialogTemplate();
    CSettingsDlg dialog(parent);
    EditorSettings& settings = dialog.m_settings;
    const std::string group = app::settingsGroup;
    settings.address = application->GetProfileString(group, "address", app::defaultServerAddress);
    settings.htmlOptions = application->GetProfileString(group, "cmdline", app::defaultHtmlOptions);
    settings.postScriptViewer = application->GetProfileString(group, "psviewer");
    settings.pdfViewer = application->GetProfileString(group, "pdfviewer");
    settings.htmlViewer = application->GetProfileString(group, "htmlviewer");
    if (dialog.DoModal() != IDOK)
        return;
    application->WriteProfileString(group, "address", settings.address);
    application->WriteProfileString(group, "cmdline", settings.htmlOptions);
    application->WriteProfileString(group, "psviewer", settings.postScriptViewer);
    application->WriteProfileString(group, "pdfviewer", settings.pdfViewer);
    application->WriteProfileString(group, "htmlviewer", settings.htmlViewer);
}
