#pragma once

#include "documents/output_services.h"
#include "platform/win_app.h"

#include <string>

class CMainFrame;

// The editor's application object: chooses the document type from the command line, registers the
// one document template, opens or creates the document and shows the main frame.
class CEditorApp : public CWinApp, public OutputServices {
public:
    // `commandLine`: everything after the program name, as one string.
    explicit CEditorApp(std::string commandLine);

    bool InitInstance() override;

    // An empty text for pane 0 brings back the idle message; otherwise the pane shows the text at
    // once.
    void SetStatusText(const std::string& text, int pane) override;
    // Posts the idle message ("Ready") to the main frame's status bar.
    void ShowIdleMessage();
    // File Save of every document of the template, in order; false as soon as one fails.
    bool SaveAllDocuments() override;
    std::unique_ptr<OutputJobCallback> CreateJobCallback(HWND notificationWindow) override;
    // The viewer of the setting for the kind, else the associated program; "viewer application not
    // found" when there is neither.
    void OpenViewer(const std::string& kind, const std::string& file) override;

    CSingleDocTemplate* DocTemplate() const { return m_pDocTemplate; }
    // help/index.html of the data directory, which Help → Contents opens in the HTML viewer.
    static std::string HelpContentsPath();
    CMainFrame* MainFrame() const;

private:
    void OnHelpContents();
    void OnAppAbout();

    std::string m_commandLine;
    CSingleDocTemplate* m_pDocTemplate = nullptr;
};
