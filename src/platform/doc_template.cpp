#include "platform/doc_template.h"

#include "platform/cursor.h"
#include "platform/document.h"
#include "platform/frame_wnd.h"
#include "platform/framework_strings.h"
#include "platform/message_box.h"
#include "platform/view.h"
#include "platform/win_app.h"

CSingleDocTemplate::CSingleDocTemplate(UINT resourceId, RuntimeClass<CDocument> documentClass,
                                       RuntimeClass<CFrameWnd> frameClass, RuntimeClass<CView> viewClass)
    : m_resourceId(resourceId), m_documentClass(std::move(documentClass)), m_frameClass(std::move(frameClass)),
      m_viewClass(std::move(viewClass))
{
}

CSingleDocTemplate::~CSingleDocTemplate()
{
    CloseAllDocuments();
}

std::string CSingleDocTemplate::GetDocString(DocStringIndex index) const
{
    const std::string fields = platform::LoadFrameworkString(m_resourceId);
    std::size_t start = 0;
    for (int field = 0; field < index; ++field) {
        start = fields.find('\n', start);
        if (start == std::string::npos)
            return {};
        ++start;
    }
    return fields.substr(start, fields.find('\n', start) - start);
}

CDocument* CSingleDocTemplate::OpenDocumentFile(const std::string& path)
{
    if (m_document != nullptr) {
        if (!m_document->SaveModified())
            return nullptr;
        return OpenIntoExistingDocument(path);
    }
    if (!CreateDocumentAndFrame())
        return nullptr;
    CDocument* document = OpenIntoExistingDocument(path);
    if (document == nullptr)
        CloseAllDocuments();
    return document;
}

CDocument* CSingleDocTemplate::OpenIntoExistingDocument(const std::string& path)
{
    CDocument* document = m_document.get();
    if (path.empty()) {
        SetDefaultTitle(document);
        if (!document->OnNewDocument())
            return nullptr;
    } else {
        CWaitCursor wait;
        const bool wasModified = document->IsModified();
        if (!document->OnOpenDocument(path)) {
            if (!document->OpenDeletedContents()) {
                document->SetModifiedFlag(wasModified);
                return nullptr;
            }
            // The old contents are gone: what is left must not be saved over the old file.
            SetDefaultTitle(document);
            document->OnNewDocument();
            m_frame->InitialUpdateFrame(document, CFrameWnd::Visibility::Keep);
            return nullptr;
        }
        document->SetPathName(path);
    }
    m_frame->InitialUpdateFrame(document, CFrameWnd::Visibility::Keep);
    return document;
}

bool CSingleDocTemplate::CreateDocumentAndFrame()
{
    m_document = m_documentClass();
    m_document->m_pDocTemplate = this;
    m_frame = m_frameClass();
    CCreateContext context{m_viewClass, m_document.get()};
    if (!m_frame->LoadFrame(m_resourceId, &context)) {
        m_frame.reset();
        m_document.reset();
        AfxMessageBox("Failed to create the main window.", MB_OK | MB_ICONERROR);
        return false;
    }
    if (CWinApp* application = AfxGetApp(); application != nullptr && application->m_pMainWnd == nullptr)
        application->m_pMainWnd = m_frame.get();
    return true;
}

void CSingleDocTemplate::SetDefaultTitle(CDocument* document)
{
    const std::string name = GetDocString(docName);
    document->SetTitle(name.empty() ? "Untitled" : name);
}

std::vector<CDocument*> CSingleDocTemplate::GetDocuments() const
{
    if (m_document == nullptr)
        return {};
    return {m_document.get()};
}

bool CSingleDocTemplate::SaveAllModified()
{
    return m_document == nullptr || m_document->SaveModified();
}

void CSingleDocTemplate::CloseAllDocuments()
{
    if (m_frame != nullptr) {
        if (CWinApp* application = AfxGetApp(); application != nullptr && application->m_pMainWnd == m_frame.get())
            application->m_pMainWnd = nullptr;
        m_frame->DestroyWindow();
        m_frame.reset();
    }
    if (m_document != nullptr) {
        m_document->DeleteContents();
        m_document.reset();
    }
}
