#include "documents/html_view.h"

#include "documents/html_command_ids.h"
#include "documents/html_doc.h"
#include "documents/html_scanner.h"
#include "documents/output_services.h"
#include "documents/snippets.h"
#include "documents/view_support.h"
#include "platform/command_ids.h"
#include "platform/document.h"
#include "platform/virtual_keys.h"
#include "platform/win_app.h"

#include <cstring>

namespace {

std::vector<ACCEL> HtmlViewAccelerators()
{
    const auto key = VirtualKeyEntry;
    return {
        key(FCONTROL | FSHIFT, 'A', ID_INSERT_LINK),  key(FCONTROL, 'B', ID_INSERT_BOLD),
        key(FCONTROL | FSHIFT, 'C', ID_INSERT_CODE),  key(FCONTROL | FSHIFT, 'D', ID_INSERT_DEFINITION_ITEM),
        key(FCONTROL, 'E', ID_INSERT_ENUMERATION),    key(FCONTROL, 'F', ID_FORMAT_PARAGRAPH),
        key(FCONTROL, 'I', ID_INSERT_ITALIC),         key(FCONTROL, 'T', ID_INSERT_ITEM_LIST),
        key(FCONTROL, 'U', ID_INSERT_TABLE),          key(FCONTROL | FSHIFT, 'X', ID_INSERT_NEXT_ITEM),
    };
}

// Courier New at 14 pixels in the Central European character set, which HTML pages of the time used.
LOGFONT HtmlViewFont()
{
    LOGFONT font{};
    std::strcpy(font.lfFaceName, "Courier New");
    font.lfHeight = 14;
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = EASTEUROPE_CHARSET;
    return font;
}

}  // namespace

CHtmlView::CHtmlView()
{
    MapCommand(ID_OUTPUT_VIEW_HTML, &CHtmlView::OnViewHtmlOutput);
    MapCommand(ID_FILE_SAVE, [this] {
        if (auto* document = dynamic_cast<CHtmlDoc*>(GetDocument()))
            document->SaveFromCommand();
    });
    MapCommand(ID_FORMAT_PARAGRAPH, [this] { FormatParagraphAtCaret(*this); });
    for (const Snippet& snippet : HtmlSnippets())
        MapCommand(snippet.command, [this, &snippet] { InsertSnippet(*this, snippet); });
}

void CHtmlView::OnInitialUpdate()
{
    CQuillEditView::OnInitialUpdate();
    m_logFont = HtmlViewFont();
    ApplyFont(m_logFont);
}

void CHtmlView::PaintLine(CDC& dc, const CRect& rect, int line)
{
    CQuillEditView::PaintLine(dc, rect, line);
    PaintMarginGuide(dc, rect, FirstColumn(), CharWidth());
}

std::uint32_t CHtmlView::ScanLine(std::uint32_t state, int line, std::vector<ColourSpan>* spans)
{
    return ScanHtmlLine(state, LineText(line), spans);
}

CQuillTextBuffer* CHtmlView::FindBuffer()
{
    return DocumentBuffer(GetDocument());
}

bool CHtmlView::PreTranslateMessage(MSG* message)
{
    return CQuillEditView::PreTranslateMessage(message) || TranslateViewKeys(*this, m_hAccelTable, message);
}

int CHtmlView::OnCreate(CREATESTRUCT* create)
{
    if (CQuillEditView::OnCreate(create) == -1)
        return -1;
    m_hAccelTable = LoadViewKeyTable(KeyTableId, HtmlViewAccelerators());
    return 0;
}

void CHtmlView::OnDestroy()
{
    CQuillEditView::OnDestroy();
    m_hAccelTable = nullptr;
}

void CHtmlView::OnSetFocus(CWnd* oldWindow)
{
    CQuillEditView::OnSetFocus(oldWindow);
    if (CWnd* mainWindow = AfxGetMainWnd())
        mainWindow->PostMessage(WM_SETMESSAGESTRING, AFX_IDS_IDLEMESSAGE);
}

void CHtmlView::OnContextMenu(CWnd*, CPoint)
{
}

void CHtmlView::OnViewHtmlOutput()
{
    OutputServices* services = FindOutputServices();
    if (services == nullptr || GetDocument() == nullptr || !services->SaveAllDocuments())
        return;
    services->OpenViewer("html", GetDocument()->GetPathName());
}
