#include "views/quill_text_view.h"

#include "buffer/text_change.h"
#include "buffer/update_hint.h"
#include "platform/cmd_ui.h"
#include "platform/messages.h"
#include "views/editor_accelerators.h"
#include "views/editor_command_ids.h"
#include "views/slot_colour.h"
#include "views/tab_expansion.h"

#include <algorithm>
#include <cstring>

CQuillTextView::CQuillTextView()
{
    MapUpdateCommandUI(ID_INDICATOR_POSITION, &CQuillTextView::OnUpdatePositionPane);
    MapCaretCommands();
    MapClipboardCommands();
    MapBookmarkCommands();
    MapFindCommands();
    ResetViewState();
}

CQuillTextView::~CQuillTextView()
{
    // Normally the window's destruction has detached the view already.
    if (m_buffer != nullptr)
        m_buffer->DetachView(this);
}

void CQuillTextView::ResetViewState()
{
    m_lineHeight = -1;
    m_charWidth = -1;
    m_tabSize = 4;
    ForgetVisibleCounts();
    m_widestLineLength = -1;
    m_idealColumn = -1;
    m_anchorPos = {};
    m_marginImages.DeleteImageList();
    m_viewFont.DeleteObject();
    m_parseStates.Discard();
    m_lengths.Discard();
    m_caretPos = {};
    m_selStart = {};
    m_selEnd = {};
    m_topLine = 0;
    m_firstColumn = 0;
    m_selectionVisibility = SelectionVisibility::WithFocus;
    m_anyUnnumberedBookmark = false;
    ForgetMouseState();
    ForgetLastSearch();
    if (GetSafeHwnd() != nullptr)
        PlaceCaret();
}

int CQuillTextView::LineCount() const
{
    return m_buffer == nullptr ? 1 : m_buffer->LineCount();
}

int CQuillTextView::LineLength(int line) const
{
    return m_buffer == nullptr ? 0 : m_buffer->LineLength(line);
}

const char* CQuillTextView::LineChars(int line) const
{
    return m_buffer == nullptr ? nullptr : m_buffer->LineChars(line);
}

std::uint32_t CQuillTextView::LineFlags(int line) const
{
    return m_buffer == nullptr ? 0 : m_buffer->LineFlagsOf(line);
}

void CQuillTextView::GetText(TextPosition start, TextPosition end, std::string& text) const
{
    text.clear();
    if (m_buffer != nullptr)
        m_buffer->ExtractText(start.line, start.character, end.line, end.character, text);
}

TextEncoding CQuillTextView::Encoding() const
{
    return m_buffer == nullptr ? TextEncoding::Utf8 : m_buffer->Encoding();
}

int CQuillTextView::NextCharIndex(int line, int index) const
{
    return utf8::NextCharacter(LineText(line), index, Encoding());
}

int CQuillTextView::PreviousCharIndex(int line, int index) const
{
    return utf8::PreviousCharacter(LineText(line), index, Encoding());
}

std::string_view CQuillTextView::LineText(int line) const
{
    // A buffer between clearing and refilling has no lines at all.
    if (line < 0 || line >= LineCount())
        return {};
    const char* characters = LineChars(line);
    if (characters == nullptr)
        return {};
    return {characters, static_cast<std::size_t>(LineLength(line))};
}

COLORREF CQuillTextView::SlotColour(ColourSlot slot) const
{
    return DefaultSlotColour(slot);
}

std::uint32_t CQuillTextView::ScanLine(std::uint32_t, int, std::vector<ColourSpan>*)
{
    return 0;
}

CQuillTextBuffer* CQuillTextView::FindBuffer()
{
    return nullptr;
}

void CQuillTextView::EditNotify(std::int32_t, std::string_view)
{
}

std::uint32_t CQuillTextView::LineEndState(int line)
{
    m_parseStates.EnsureExists(LineCount());
    line = std::min(line, LineCount() - 1);
    if (line < 0)
        return 0;
    if (const auto known = m_parseStates.Get(line); known != LineValueCache::NotComputed)
        return known;
    int first = line;
    while (first > 0 && m_parseStates.Get(first - 1) == LineValueCache::NotComputed)
        --first;
    std::uint32_t state = first > 0 ? m_parseStates.Get(first - 1) : 0;
    for (int current = first; current <= line; ++current) {
        state = ScanLine(state, current, nullptr);
        m_parseStates.Set(current, state);
    }
    return state;
}

void CQuillTextView::BindBuffer(CQuillTextBuffer* buffer)
{
    if (m_buffer != nullptr)
        m_buffer->DetachView(this);
    m_buffer = buffer != nullptr ? buffer : FindBuffer();
    if (m_buffer != nullptr)
        m_buffer->AttachView(this);
    ResetViewState();
    UpdateVerticalScrollBar(ScrollBarUpdate::Everything);
    UpdateHorizontalScrollBar(ScrollBarUpdate::Everything);
}

void CQuillTextView::OnBufferChanged(BufferView*, const TextChange* change, std::uint32_t hints, std::int32_t line)
{
    if ((hints & UpdateHint::ContentReset) != 0) {
        ResetViewState();
        UpdateVerticalScrollBar(ScrollBarUpdate::Everything);
        UpdateHorizontalScrollBar(ScrollBarUpdate::Everything);
        return;
    }
    if (m_updatesDeferred > 0) {
        NoteDeferredChange(change, hints, line);
        return;
    }
    if ((hints & UpdateHint::OneLine) != 0) {
        const std::uint32_t oldEndState = m_parseStates.Get(line);
        m_parseStates.InvalidateFrom(line);
        m_lengths.Invalidate(line);
        // Only this line looks different, unless the state at its end changed, which colours the
        // lines below it.
        if (oldEndState != LineValueCache::NotComputed && LineEndState(line) == oldEndState)
            RepaintLines(line, line);
        else
            InvalidateFromLine(line);
    } else {
        const int first = line == -1 ? 0 : line;
        const std::uint32_t oldEndState = change != nullptr ? m_parseStates.Get(LastChangedLineBefore(*change)) : LineValueCache::NotComputed;
        m_parseStates.Refit(LineCount(), first);
        m_lengths.Refit(LineCount(), first);
        if (oldEndState != LineValueCache::NotComputed && change->Start().line >= m_topLine
            && LineEndState(LastChangedLineAfter(*change)) == oldEndState)
            ShiftLinesBelowChange(*change);
        else
            InvalidateFromLine(first);
    }
    if (line == -1 && change == nullptr) {
        // The text is read anew (another encoding): positions must stay on character starts.
        KeepPositionsOnCharacters();
        if (GetSafeHwnd() != nullptr)
            PlaceCaret();
    }
    if (change != nullptr) {
        MoveStoredPositions(*change);
        if (GetSafeHwnd() != nullptr)
            PlaceCaret();
    }
    if ((hints & UpdateHint::LineCountChanged) != 0)
        UpdateVerticalScrollBar(ScrollBarUpdate::Everything);
    if ((hints & UpdateHint::LineWidthChanged) != 0) {
        WidenForChangedLines(change, hints, line);
        UpdateHorizontalScrollBar(ScrollBarUpdate::Everything);
    }
}

void CQuillTextView::WidenForChangedLines(const TextChange* change, std::uint32_t hints, std::int32_t line)
{
    // Measuring every line after each key would cost a pass over the whole text. The widest length
    // only grows with the lines an edit touched, and it does not shrink until the text is read
    // anew: a scroll range a little too wide after a long line got shorter is harmless.
    if (m_widestLineLength == -1)
        return;
    int first = line;
    int last = line;
    if ((hints & UpdateHint::OneLine) == 0) {
        if (change == nullptr) {
            m_widestLineLength = -1;
            return;
        }
        first = change->Start().line;
        last = std::min(change->End().line, LineCount() - 1);
    }
    for (int changed = std::max(first, 0); changed <= last; ++changed)
        m_widestLineLength = std::max(m_widestLineLength, ExpandedLineLength(changed));
}

void CQuillTextView::OnUpdatePositionPane(CCmdUI* commandUi)
{
    commandUi->Enable(true);
    const int column = utf8::CharacterCount(LineText(m_caretPos.line), m_caretPos.character, Encoding()) + 1;
    commandUi->SetText("Ln " + std::to_string(m_caretPos.line + 1) + ", Col " + std::to_string(column));
}

void CQuillTextView::OnEncodingCommand(UINT id)
{
    if (m_buffer != nullptr)
        m_buffer->SetEncoding(id == ID_VIEW_ENCODING_UTF8 ? TextEncoding::Utf8 : TextEncoding::Legacy);
}

void CQuillTextView::OnUpdateEncodingCommand(CCmdUI* commandUi)
{
    const TextEncoding shown = commandUi->m_nID == ID_VIEW_ENCODING_UTF8 ? TextEncoding::Utf8 : TextEncoding::Legacy;
    commandUi->Enable(m_buffer != nullptr);
    commandUi->SetCheck(Encoding() == shown ? 1 : 0);
}


void CQuillTextView::MoveStoredPositions(const TextChange& change)
{
    // An edit can make the bytes around a position one character (an invalid byte followed by the
    // rest of its sequence); positions stay on character starts.
    for (TextPosition* position : {&m_caretPos, &m_selStart, &m_selEnd, &m_anchorPos}) {
        change.AdjustPosition(*position);
        *position = OnCharacter(*position);
    }
    // The editable view removes a moved text where it is when the drop is done.
    if (m_draggingText) {
        change.AdjustPosition(m_draggedRange.start);
        change.AdjustPosition(m_draggedRange.end);
    }
    TextPosition top{0, m_topLine};
    change.AdjustPosition(top);
    m_topLine = top.line;
}

void CQuillTextView::InvalidateFromLine(int line)
{
    if (GetSafeHwnd() == nullptr)
        return;
    CRect client;
    GetClientRect(&client);
    client.top = std::max(client.top, (line - m_topLine) * LineHeight());
    if (!client.IsRectEmpty())
        InvalidateRect(&client, EraseBackground::No);
}

int CQuillTextView::LastChangedLineBefore(const TextChange& change) const
{
    return dynamic_cast<const DeletionChange*>(&change) != nullptr ? change.End().line : change.Start().line;
}

int CQuillTextView::LastChangedLineAfter(const TextChange& change) const
{
    return dynamic_cast<const DeletionChange*>(&change) != nullptr ? change.Start().line : change.End().line;
}

void CQuillTextView::ShiftLinesBelowChange(const TextChange& change)
{
    // The lines below the change look as they did, one or more lines higher or lower: their pixels
    // move, and only the changed lines are painted again.
    if (GetSafeHwnd() == nullptr)
        return;
    const int first = change.Start().line;
    const int lineHeight = LineHeight();
    CRect below;
    GetClientRect(&below);
    below.top = std::max(below.top, (first + 1 - m_topLine) * lineHeight);
    const int shift = LastChangedLineAfter(change) - LastChangedLineBefore(change);
    if (shift != 0 && !below.IsRectEmpty())
        ScrollWindow(0, shift * lineHeight, &below, &below);
    RepaintLines(first, LastChangedLineAfter(change));
}

void CQuillTextView::RepaintLines(int first, int last)
{
    if (GetSafeHwnd() == nullptr)
        return;
    CRect client;
    GetClientRect(&client);
    const int lineHeight = LineHeight();
    CRect bands = client;
    bands.top = std::max(client.top, (first - m_topLine) * lineHeight);
    if (last != -1)
        bands.bottom = std::min(client.bottom, (last - m_topLine + 1) * lineHeight);
    if (!bands.IsRectEmpty())
        InvalidateRect(&bands, EraseBackground::No);
}

bool CQuillTextView::PreTranslateMessage(MSG* message)
{
    const bool keyMessage = message->message >= WM_KEYFIRST && message->message <= WM_KEYLAST;
    if (keyMessage && TranslateAccelerator(GetSafeHwnd(), m_accelerators, message) != 0)
        return true;
    return CView::PreTranslateMessage(message);
}

bool CQuillTextView::PreCreateWindow(CREATESTRUCT& create)
{
    create.classStyle = CS_DBLCLKS;
    create.style |= WS_VSCROLL | WS_HSCROLL;
    return CView::PreCreateWindow(create);
}

int CQuillTextView::OnCreate(CREATESTRUCT* create)
{
    if (CView::OnCreate(create) == -1)
        return -1;
    m_logFont = LOGFONT{};
    std::strcpy(m_logFont.lfFaceName, "FixedSys");
    m_logFont.lfHeight = 0;
    m_logFont.lfWeight = FW_NORMAL;
    m_logFont.lfCharSet = DEFAULT_CHARSET;
    editor_accelerators::Register();
    m_accelerators = LoadAccelerators(IDR_EDITOR_ACCELERATORS);
    return 0;
}

void CQuillTextView::OnInitialUpdate()
{
    CView::OnInitialUpdate();
    LOGFONT courier{};
    std::strcpy(courier.lfFaceName, "Courier New");
    courier.lfHeight = 16;
    courier.lfWeight = FW_NORMAL;
    courier.lfCharSet = ANSI_CHARSET;
    ApplyFont(courier);
    BindBuffer(nullptr);
}

void CQuillTextView::OnDestroy()
{
    if (m_buffer != nullptr)
        m_buffer->DetachView(this);
    m_buffer = nullptr;
    ResetViewState();
    m_viewFont.DeleteObject();
    ForgetLineBitmap();
    CView::OnDestroy();
}

void CQuillTextView::OnSize(UINT type, int width, int height)
{
    CView::OnSize(type, width, height);
    ForgetLineBitmap();
    ForgetVisibleCounts();
    UpdateVerticalScrollBar(ScrollBarUpdate::Everything);
    UpdateHorizontalScrollBar(ScrollBarUpdate::Everything);
}

bool CQuillTextView::OnEraseBkgnd(CDC*)
{
    // Every pixel comes from the band copies of the paint.
    return true;
}

void CQuillTextView::OnSysColorChange()
{
    CView::OnSysColorChange();
    Invalidate(EraseBackground::Yes);
}
