#pragma once

#include "platform/cmd_target.h"
#include "platform/recent_file_list.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

class CDocument;
class CSingleDocTemplate;
class CWnd;

namespace platform {
class ProfileStore;
}

// What the command line asks for at start-up.
class CCommandLineInfo {
public:
    enum ShellCommand { FileNew, FileOpen, FileNothing };
    ShellCommand m_nShellCommand = FileNew;
    std::string m_strFileName;
};

// The application object: its document template, main window, profile settings and the File
// commands that are not about one document (New, Open, the recent files, Exit).
class CWinApp : public CCmdTarget {
public:
    // `applicationName` names the settings file; by default the string resource of the
    // application title.
    explicit CWinApp(std::string applicationName = {});
    ~CWinApp() override;

    virtual bool InitInstance() { return true; }
    virtual int ExitInstance();
    // Runs the event loop until the main window is gone; returns ExitInstance's result.
    virtual int Run();
    // Updates the main frame's tool bar and status bar; false when nothing more is to do.
    virtual bool OnIdle(long count);
    virtual bool PreTranslateMessage(MSG* message);

    const std::string& ApplicationName() const { return m_applicationName; }
    void SetRegistryKey(const std::string& key);
    // Reads the recent-file list of `recentFileCount` entries.
    void LoadStdProfileSettings(UINT recentFileCount = 4);
    std::string GetProfileString(const std::string& section, const std::string& entry,
                                 const std::string& defaultValue = {});
    int GetProfileInt(const std::string& section, const std::string& entry, int defaultValue);
    bool WriteProfileString(const std::string& section, const std::string& entry, const std::string& value);
    bool WriteProfileInt(const std::string& section, const std::string& entry, int value);

    CSingleDocTemplate* AddDocTemplate(std::unique_ptr<CSingleDocTemplate> docTemplate);
    const std::vector<std::unique_ptr<CSingleDocTemplate>>& DocTemplates() const { return m_templates; }
    // Opens through the first template (an empty path makes a new document).
    virtual CDocument* OpenDocumentFile(const std::string& path);
    virtual void AddToRecentFileList(const std::string& path);
    CRecentFileList* RecentFileList() const { return m_recentFiles.get(); }
    // File New or File Open of the file named; false when that failed.
    bool ProcessShellCommand(CCommandLineInfo& commandLine);
    // Asks to save changes of every document; false when the user cancelled.
    bool SaveAllModified();

    void OnFileNew();
    void OnFileOpen();
    void OnAppExit();

    CWnd* m_pMainWnd = nullptr;

protected:
    void OnOpenRecentFile(UINT id);
    void OnUpdateRecentFileMenu(CCmdUI* commandUi);

private:
    platform::ProfileStore& Profile();

    std::string m_applicationName;
    std::string m_registryKey;
    std::unique_ptr<platform::ProfileStore> m_profile;
    std::vector<std::unique_ptr<CSingleDocTemplate>> m_templates;
    std::unique_ptr<CRecentFileList> m_recentFiles;
};

// The one application object; null before it is constructed.
CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd();
