#include "documents/latex_view.h"

#include "docsystem/start_documentation_job.h"
#include "documents/latex_command_ids.h"
#include "documents/latex_doc.h"
#include "documents/latex_scanner.h"
#include "documents/output_paths.h"
#include "documents/output_services.h"
#include "documents/snippets.h"
#include "documents/view_support.h"
#include "platform/cmd_ui.h"
#include "platform/command_ids.h"
#include "platform/cursor.h"
#include "platform/frame_wnd.h"
#include "platform/system_services.h"
#include "platform/virtual_keys.h"
#include "platform/win_app.h"
#include "utils/error_reporting.h"
#include "utils/string_table.h"

#include <exception>

namespace {

constexpr unsigned int FinishedText = 10;
constexpr unsigned int DocumentationSystemError = 5;
constexpr std::string_view MasterDocumentMarker = "\\begin{document}";

std::vector<ACCEL> LatexViewAccelerators()
{
    const auto key = VirtualKeyEntry;
    return {
        key(FCONTROL, '1', ID_INSERT_SECTION),          key(FCONTROL, '2', ID_INSERT_SUBSECTION),
        key(FCONTROL, '3', ID_INSERT_SUBSUBSECTION),    key(FCONTROL, 'A', ID_INSERT_INLINE_MATH),
        key(FCONTROL, 'B', ID_INSERT_BOLD),             key(FCONTROL | FSHIFT, 'C', ID_INSERT_CODE),
        key(FCONTROL, 'D', ID_INSERT_DISPLAYED_MATH),   key(FCONTROL, 'E', ID_INSERT_ENUMERATION),
        key(FCONTROL, 'F', ID_FORMAT_PARAGRAPH),        key(FCONTROL | FSHIFT, 'H', ID_OUTPUT_MASTER_HTML),
        key(FCONTROL, 'I', ID_INSERT_ITALIC),           key(FCONTROL | FSHIFT, 'P', ID_OUTPUT_MASTER_POSTSCRIPT),
        key(FCONTROL, 'Q', ID_INSERT_EQUATION),         key(FCONTROL, 'T', ID_INSERT_ITEM_LIST),
        key(FCONTROL, 'U', ID_INSERT_TABLE),            key(FCONTROL | FSHIFT, 'X', ID_INSERT_NEXT_ITEM),
    };
}

bool BufferContains(const CQuillTextBuffer& buffer, std::string_view text)
{
    for (std::int32_t line = 0; line < buffer.LineCount(); ++line) {
        const std::string_view lineText(buffer.LineChars(line), static_cast<std::size_t>(buffer.LineLength(line)));
        if (lineText.find(text) != std::string_view::npos)
            return true;
    }
    return false;
}

}  // namespace

CLatexView::CLatexView()
{
    MapCommand(ID_OUTPUT_CREATE_POSTSCRIPT, [this] { StartOutput(OutputMode::PostScript); });
    MapCommand(ID_OUTPUT_CREATE_PDF, [this] { StartOutput(OutputMode::Pdf); });
    MapCommand(ID_OUTPUT_CREATE_HTML, [this] { StartOutput(OutputMode::Html); });
    MapCommand(ID_OUTPUT_MASTER_POSTSCRIPT, [this] { OutputMasterDocument(ID_OUTPUT_CREATE_POSTSCRIPT); });
    MapCommand(ID_OUTPUT_MASTER_HTML, [this] { OutputMasterDocument(ID_OUTPUT_CREATE_HTML); });
    MapCommand(ID_OUTPUT_VIEW_POSTSCRIPT, [this] { ViewOutputFile("ps"); });
    MapCommand(ID_OUTPUT_VIEW_PDF, [this] { ViewOutputFile("pdf"); });
    MapCommand(ID_OUTPUT_VIEW_HTML, &CLatexView::OnViewHtmlOutput);
    MapCommand(ID_FORMAT_PARAGRAPH, [this] { FormatParagraphAtCaret(*this); });
    for (const Snippet& snippet : LatexSnippets())
        MapCommand(snippet.command, [this, &snippet] { InsertSnippet(*this, snippet); });
    // View PostScript Output stays enabled; its handler checks for a running job itself.
    for (UINT command : {ID_OUTPUT_CREATE_POSTSCRIPT, ID_OUTPUT_CREATE_PDF, ID_OUTPUT_CREATE_HTML, ID_OUTPUT_MASTER_HTML,
                         ID_OUTPUT_MASTER_POSTSCRIPT, ID_OUTPUT_VIEW_PDF, ID_OUTPUT_VIEW_HTML})
        MapUpdateCommandUI(command, &CLatexView::OnUpdateOutputCommand);
    MapMessage(finishedNotificationMessage, &CLatexView::OnDocFinished);
}

void CLatexView::PaintLine(CDC& dc, const CRect& rect, int line)
{
    CQuillEditView::PaintLine(dc, rect, line);
    PaintMarginGuide(dc, rect, FirstColumn(), CharWidth());
}

std::uint32_t CLatexView::ScanLine(std::uint32_t state, int line, std::vector<ColourSpan>* spans)
{
    return ScanLatexLine(state, LineText(line), spans);
}

CQuillTextBuffer* CLatexView::FindBuffer()
{
    return DocumentBuffer(GetDocument());
}

CLatexDoc* CLatexView::LatexDocument() const
{
    return dynamic_cast<CLatexDoc*>(GetDocument());
}

bool CLatexView::PreTranslateMessage(MSG* message)
{
    return CQuillEditView::PreTranslateMessage(message) || TranslateViewKeys(*this, m_hAccelTable, message);
}

int CLatexView::OnCreate(CREATESTRUCT* create)
{
    if (CQuillEditView::OnCreate(create) == -1)
        return -1;
    m_hAccelTable = LoadViewKeyTable(KeyTableId, LatexViewAccelerators());
    return 0;
}

void CLatexView::OnDestroy()
{
    CQuillEditView::OnDestroy();
    m_hAccelTable = nullptr;
}

void CLatexView::OnSetFocus(CWnd* oldWindow)
{
    CQuillEditView::OnSetFocus(oldWindow);
    if (CWnd* mainWindow = AfxGetMainWnd())
        mainWindow->PostMessage(WM_SETMESSAGESTRING, AFX_IDS_IDLEMESSAGE);
}

void CLatexView::OnContextMenu(CWnd*, CPoint)
{
}

void CLatexView::StartOutput(OutputMode mode)
{
    CLatexDoc* document = LatexDocument();
    OutputServices* services = FindOutputServices();
    if (document == nullptr || services == nullptr || document->m_bProcessing)
        return;
    if (!services->SaveAllDocuments())
        return;
    document->m_bProcessing = true;
    const CWaitCursor wait;
    try {
        std::unique_ptr<OutputJobCallback> callback = services->CreateJobCallback(GetSafeHwnd());
        JobNotificationWindow* notificationWindow = callback.get();
        StartDocumentationJob(JobLocation::Remote, notificationWindow, mode, document->GetPathName(), std::move(callback));
    } catch (const std::exception& error) {
        // No job runs, so no notification will clear the flag: output must stay possible.
        document->m_bProcessing = false;
        utils::ReportException(DocumentationSystemError, error);
    }
}

void CLatexView::OutputMasterDocument(UINT command)
{
    auto* frame = dynamic_cast<CFrameWnd*>(AfxGetMainWnd());
    auto* view = frame == nullptr ? nullptr : dynamic_cast<CLatexView*>(frame->GetActiveView());
    if (view == nullptr || view->Buffer() == nullptr || !BufferContains(*view->Buffer(), MasterDocumentMarker))
        return;
    view->SendMessage(WM_COMMAND, command);
}

void CLatexView::OnUpdateOutputCommand(CCmdUI* commandUi)
{
    const CLatexDoc* document = LatexDocument();
    commandUi->Enable(document != nullptr && !document->m_bProcessing);
}

LRESULT CLatexView::OnDocFinished(WPARAM, LPARAM)
{
    if (CLatexDoc* document = LatexDocument())
        document->m_bProcessing = false;
    if (CWnd* mainWindow = AfxGetMainWnd())
        mainWindow->SendMessage(StatusTextMessage, reinterpret_cast<WPARAM>(""), ProgressPane);
    if (OutputServices* services = FindOutputServices())
        services->SetStatusText(utils::LoadResourceString(FinishedText), 0);
    MessageBeep(MB_OK);
    return 0;
}

bool CLatexView::ReadyToViewOutput()
{
    const CLatexDoc* document = LatexDocument();
    OutputServices* services = FindOutputServices();
    return document != nullptr && services != nullptr && !document->m_bProcessing && services->SaveAllDocuments();
}

void CLatexView::ViewOutputFile(const char* kind)
{
    if (!ReadyToViewOutput())
        return;
    FindOutputServices()->OpenViewer(kind, OutputFilePath(LatexDocument()->GetPathName(), kind));
}

void CLatexView::OnViewHtmlOutput()
{
    if (!ReadyToViewOutput())
        return;
    if (const auto page = HtmlOutputPage(LatexDocument()->GetPathName()))
        FindOutputServices()->OpenViewer("html", *page);
}
