#pragma once

#include "platform/cmd_target.h"

#include <string>
#include <vector>

class CView;
class CSingleDocTemplate;

enum class RecentFiles { Leave, Add };
enum class SaveAs { Ask, UseGivenPath };

// A document: its path name, title and modified flag, its views, and the File commands that
// concern it (Save, Save As, and the question whether to save changes).
class CDocument : public CCmdTarget {
public:
    CDocument();
    ~CDocument() override;

    const std::string& GetTitle() const { return m_strTitle; }
    virtual void SetTitle(const std::string& title);
    const std::string& GetPathName() const { return m_strPathName; }
    // Sets the path and the title (the file name part), and adds the path to the recent files.
    virtual void SetPathName(const std::string& path, RecentFiles recentFiles = RecentFiles::Add);
    void ClearPathName();

    bool IsModified() const { return m_bModified; }
    virtual void SetModifiedFlag(bool modified = true);

    void AddView(CView* view);
    void RemoveView(CView* view);
    const std::vector<CView*>& GetViews() const { return m_views; }
    void UpdateAllViews(CView* sender, LPARAM hint = 0, CObject* hintObject = nullptr);
    CSingleDocTemplate* GetDocTemplate() const { return m_pDocTemplate; }

    // Clears the path, then DeleteContents and the modified flag.
    virtual bool OnNewDocument();
    // Checks that the file can be read (reporting it when it cannot, and then failing without
    // touching the contents), then DeleteContents and the modified flag.
    virtual bool OnOpenDocument(const std::string& path);
    // Writes the document to `path`; false (after telling the user) when it could not.
    virtual bool OnSaveDocument(const std::string& path) = 0;
    virtual void DeleteContents() {}

    // When modified, asks "Save changes to ...?": Yes saves (true when saved), No gives true, Cancel
    // gives false.
    virtual bool SaveModified();
    // Saves under `path`; with SaveAs::Ask or an empty path the user chooses the file first (with the
    // question whether to replace an existing one). On success the path becomes the document's.
    bool DoSave(const std::string& path, SaveAs mode);
    // File Save: under the current path, asking for one when there is none or the file is read-only.
    bool DoFileSave();

    // Whether the last OnOpenDocument got as far as deleting the contents.
    bool OpenDeletedContents() const { return m_openDeletedContents; }

protected:
    void OnFileSave();
    void OnFileSaveAs();

private:
    friend class CSingleDocTemplate;
    std::string m_strTitle;
    std::string m_strPathName;
    bool m_bModified = false;
    bool m_openDeletedContents = false;
    std::vector<CView*> m_views;
    CSingleDocTemplate* m_pDocTemplate = nullptr;
};
