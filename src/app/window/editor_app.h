#pragma once

#include "platform/win_app.h"

#include <string>

class CMainFrame;

// The editor's application object: chooses the document type from the command line, registers the
// one document template, opens or creates the document and shows the main frame.
class CEditorApp : public CWinApp {
public:
    // `commandLine`: everything after the program name, as one string.
    explicit CEditorApp(std::string commandLine);

    bool InitInstance() override;

    // An empty text for pane 0 brings back the idle message; otherwise the pane shows the text at
    // once.
    void SetStatusText(const std::string& text, int pane);
    // Posts the idle message ("Ready") to the main frame's status bar.
    void ShowIdleMessage();

    CSingleDocTemplate* DocTemplate() const { return m_pDocTemplate; }
    CMainFrame* MainFrame() const;

private:
    std::string m_commandLine;
    CSingleDocTemplate* m_pDocTemplate = nullptr;
};
