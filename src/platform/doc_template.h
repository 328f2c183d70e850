#pragma once

#include "platform/cmd_target.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class CDocument;
class CFrameWnd;
class CView;

// How a template makes its objects: the run-time class of a document, frame or view.
template <class Base>
using RuntimeClass = std::function<std::unique_ptr<Base>()>;

template <class Derived, class Base>
RuntimeClass<Base> RuntimeClassOf()
{
    return [] { return std::unique_ptr<Base>(std::make_unique<Derived>()); };
}

// The single-document template: one document, shown in one frame with one view, reused for every
// New and Open. Its resource id names the frame's menu, key table and tool bar and the string
// whose "\n"-separated fields describe the document type.
class CSingleDocTemplate : public CCmdTarget {
public:
    enum DocStringIndex { windowTitle, docName, fileNewName, filterName, filterExt, regFileTypeId, regFileTypeName };

    CSingleDocTemplate(UINT resourceId, RuntimeClass<CDocument> documentClass, RuntimeClass<CFrameWnd> frameClass,
                       RuntimeClass<CView> viewClass);
    ~CSingleDocTemplate() override;

    UINT GetResourceId() const { return m_resourceId; }
    std::string GetDocString(DocStringIndex index) const;

    // An empty path makes a new document. The first call creates the document and the frame; later
    // calls ask to save changes first and reuse them. Null when creation, the question or the open
    // failed (the user has been told why).
    CDocument* OpenDocumentFile(const std::string& path);
    // "Untitled" for a document without a path.
    void SetDefaultTitle(CDocument* document);

    CDocument* GetDocument() const { return m_document.get(); }
    CFrameWnd* GetFrame() const { return m_frame.get(); }
    std::vector<CDocument*> GetDocuments() const;

    // Asks to save changes of the document; false when the user cancelled.
    bool SaveAllModified();
    // Destroys the frame and the document.
    void CloseAllDocuments();

private:
    bool CreateDocumentAndFrame();
    CDocument* OpenIntoExistingDocument(const std::string& path);

    UINT m_resourceId;
    RuntimeClass<CDocument> m_documentClass;
    RuntimeClass<CFrameWnd> m_frameClass;
    RuntimeClass<CView> m_viewClass;
    std::unique_ptr<CDocument> m_document;
    std::unique_ptr<CFrameWnd> m_frame;
};
