#pragma once

#include "buffer/document/quill_edit_doc.h"
#include "documents/remote_page_transfer.h"

#include <string>

// The HTML document: an editor document of a page. Pages held on the server (the program started
// with "http://HOST/PATH") open and save through the server's maintenance service; a local page
// without write permission is edited and saved only after the user agrees.
class CHtmlDoc : public CQuillEditDoc {
public:
    bool OnOpenDocument(const std::string& path) override;
    // A page on the server keeps its server path as its title.
    void SetPathName(const std::string& path, RecentFiles recentFiles = RecentFiles::Add) override;
    // File Save of the HTML view.
    void SaveFromCommand();
    // A page on the server is sent back to the server when the user wants its changes saved,
    // never written under its address as a local file; false keeps it open when that fails.
    bool SaveModified() override;

    // The page's path on the server; empty for a local file.
    const std::string& ServerPath() const { return m_serverPath; }
    // The maintenance service: setting "maintenanceaddress" (default the default server host, port
    // 8000).
    static remote_page::Endpoint MaintenanceEndpoint();

private:
    bool OpenLocal(const std::string& path);
    bool OpenRemote(const std::string& path);
    void SaveLocal();
    // Whether the server took the page; the user has been told why not.
    bool SaveRemote();

    std::string m_serverPath;
};
