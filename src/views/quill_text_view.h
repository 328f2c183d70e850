#pragma once

#include "buffer/buffer_view.h"
#include "buffer/quill_text_buffer.h"
#include "buffer/text_position.h"
#include "platform/accelerators.h"
#include "platform/drag_drop.h"
#include "platform/bitmap.h"
#include "platform/font.h"
#include "platform/image_list.h"
#include "platform/logfont.h"
#include "platform/view.h"
#include "utils/unicode_text_conversion.h"
#include "views/colour_slot.h"
#include "views/line_value_cache.h"
#include "views/text_search.h"

#include <climits>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

enum class ScrollBarUpdate { Everything, PositionOnly };
enum class ScrollBarTracking { Leave, Move };
enum class SelectionVisibility { WithFocus, Always };
// Whether a cursor command moves the caret alone or extends the selection with it.
enum class CaretMotion { Move, Select };
// How a mouse selection grows while the button is held.
enum class MouseSelectionMode { Characters, Words, Lines };

// The ordered ends of a piece of text.
struct TextRange {
    TextPosition start;
    TextPosition end;
};

// Shows one text buffer as a grid of fixed-width cells: a selection margin at the left, one band
// per line, tabs expanded to tab stops, and each line split into coloured runs by ScanLine, which
// derived views implement. Painting goes band by band through one off-screen line bitmap.
class CQuillTextView : public CView, public BufferView {
public:
    CQuillTextView();
    ~CQuillTextView() override;

    // Display state back to its start: metrics and caches not computed, caret and selection at the
    // start, no scrolling.
    virtual void ResetViewState();
    // Shows the caret at the caret position while the view has the focus, hides it otherwise.
    virtual void PlaceCaret();

    // The text, from the buffer; without a buffer one empty line.
    virtual int LineCount() const;
    virtual int LineLength(int line) const;
    virtual const char* LineChars(int line) const;
    // The line's length in cells, tabs expanded.
    virtual int ExpandedLineLength(int line);
    virtual std::uint32_t LineFlags(int line) const;
    virtual void GetText(TextPosition start, TextPosition end, std::string& text) const;

    virtual COLORREF SlotColour(ColourSlot slot) const;
    // Paints one band of the line (line -1: a band below the last line) into `dc`.
    virtual void PaintLine(CDC& dc, const CRect& rect, int line);
    virtual void PaintMargin(CDC& dc, const CRect& rect, int line);
    // The colouring hook: appends the line's spans (unless `spans` is null) in non-decreasing order
    // of their start and returns the parse state at the end of the line, which the next line
    // receives. The state 0xFFFFFFFF is reserved. This class colours nothing.
    virtual std::uint32_t ScanLine(std::uint32_t state, int line, std::vector<ColourSpan>* spans);
    // The buffer a view binds to when none is given; none in this class.
    virtual CQuillTextBuffer* FindBuffer();

    void OnBufferChanged(BufferView* source, const TextChange* change, std::uint32_t hints,
                         std::int32_t line) override;
    void EditNotify(std::int32_t action, std::string_view text) override;

    // The parse state at the end of `line` (0 above the first line), parsing from the nearest line
    // whose state is known.
    std::uint32_t LineEndState(int line);

    // Fonts and metrics.
    CFont* ViewFont();
    void MeasureCharCell();
    int LineHeight();
    int CharWidth();
    void ApplyFont(const LOGFONT& description);
    const LOGFONT& ViewLogFont() const { return m_logFont; }

    // Column arithmetic on the lines of the text, in the text's encoding.
    std::string ExpandTabs(int line, int offset, int count);
    int ColumnOfChar(int line, int index);
    int CharAtColumn(int line, int column);
    // How the bytes are read as characters; UTF-8 without a buffer.
    TextEncoding Encoding() const;
    // Character steps within a line: the index after the character at `index`, the start of the one
    // before it (limited to the line).
    int NextCharIndex(int line, int index) const;
    int PreviousCharIndex(int line, int index) const;
    int WidestLineLength();
    int VisibleLineCount();
    int VisibleColumnCount();

    int TabSize() const { return m_tabSize; }
    int MarginWidth() const { return m_showMargin ? 20 : 1; }
    int TopLine() const { return m_topLine; }
    int FirstColumn() const { return m_firstColumn; }
    bool HasFocus() const { return m_hasFocus; }
    void SetSelectionVisibility(SelectionVisibility visibility);

    // Caret and selection.
    TextPosition CaretPos() const { return m_caretPos; }
    // Moves the caret (limited to the text and to a character start), makes it the anchor and the
    // column vertical moves keep, and places it. Nothing without lines.
    void SetCaretPos(TextPosition position);
    TextPosition AnchorPos() const { return m_anchorPos; }
    void SetSelectionAnchor(TextPosition position) { m_anchorPos = position; }
    // Sets the selection (either end may come first) and repaints the lines whose look changes.
    void SelectRange(TextPosition start, TextPosition end);
    // The selection with its start not after its end.
    void GetSelection(TextPosition& start, TextPosition& end) const;
    bool HasSelection() const { return m_selStart != m_selEnd; }
    void SelectAll();
    // Selects `length` bytes from `start` on its line, caret at the end, brought into view.
    void SelectFoundText(TextPosition start, int length);
    // While suppressed the caret is hidden even with the focus (a drop indicator shows instead).
    void SuppressCaret(bool suppressed);
    bool IsCaretSuppressed() const { return m_caretSuppressed; }
    CPoint TextToPoint(TextPosition position);
    // The text position shown at a client point, limited to the text.
    TextPosition PointToText(CPoint point);

    // Scrolling.
    // Scrolls so that the position is visible.
    void BringIntoView(TextPosition position);
    void ScrollToLine(int line, ScrollBarTracking tracking);
    void ScrollToColumn(int column, ScrollBarTracking tracking);
    void UpdateVerticalScrollBar(ScrollBarUpdate update);
    void UpdateHorizontalScrollBar(ScrollBarUpdate update);
    // One line at a time, while there is somewhere to go; the caret stays where it is in the text.
    void ScrollLineUp();
    void ScrollLineDown();

    // Find: matches lie within one line. Both throw SearchPatternError for an invalid regular
    // expression.
    bool SearchTextInRange(std::string_view text, TextPosition start, TextPosition rangeBegin, TextPosition rangeEnd,
                           std::uint32_t flags, SearchWrap wrap, FoundText& found);
    bool SearchText(std::string_view text, TextPosition start, std::uint32_t flags, SearchWrap wrap, FoundText& found);
    // Find Next's search: with wrapping, and behind an empty match that sits right at the start.
    bool SearchNext(std::string_view text, TextPosition start, std::uint32_t flags, FoundText& found);
    // Where a search with these flags starts: the caret, or upwards the start of the selection.
    TextPosition SearchStart(std::uint32_t flags) const;
    TextPosition EndOfText() const;
    // The position one character further, the start of the next line at a line's end, and past the
    // end of the text (where no search finds anything) at its end.
    TextPosition PositionAfterCharacter(TextPosition position) const;

    // The mouse: a click chooses the nearest boundary between characters; words are runs of word
    // characters (IsWordByte).
    CPoint SnapPoint(CPoint point);
    TextPosition WordEndAfter(TextPosition position) const;
    TextPosition WordStartBefore(TextPosition position) const;
    bool IsMouseSelecting() const { return m_mouseSelecting; }

    // The drag source: the selection's text (nothing without a selection), remembered as the
    // dragged range, which follows the edits made while the drag runs.
    std::optional<std::string> MakeDragData();
    virtual DROPEFFECT DragSourceEffects() const;
    // The drag ended with an effect other than none; nothing in this class.
    virtual void OnDragSourceDone(DROPEFFECT effect);
    bool IsDraggingText() const { return m_draggingText; }
    TextRange DraggedRange() const { return m_draggedRange; }

    // While one exists, buffer changes only move the view's stored positions; the caches, the scroll
    // bars, the caret and the screen catch up once when the last one ends.
    class DeferredUpdates {
    public:
        explicit DeferredUpdates(CQuillTextView& view);
        ~DeferredUpdates();
        DeferredUpdates(const DeferredUpdates&) = delete;
        DeferredUpdates& operator=(const DeferredUpdates&) = delete;

    private:
        CQuillTextView& m_view;
    };

    // The clipboard's plain text, converted between Unicode and the document's bytes (its encoding,
    // or its font's character set when it is read as legacy text).
    bool ClipboardHasText() const;
    // False for an empty text or when the clipboard refused it.
    bool CopyTextToClipboard(const std::string& text);
    // False when the clipboard holds no text, and, after telling the user, when the document's
    // character set lacks one of its characters.
    bool ReadTextFromClipboard(std::string& text);
    // Unicode text (UTF-8) as the document's bytes; false, after telling the user, when the
    // document's character set lacks one of its characters.
    bool DocumentTextOfUnicode(const std::string& unicodeText, std::string& text);
    // The document's text as other programs take it (the clipboard, a drag, the primary
    // selection): Unicode in UTF-8, lines ended by line feeds.
    std::string ExchangeTextOf(const std::string& text) const;
    utils::DocumentCharacterSet DocumentCharacters() const;

    // Repaints the bands of lines `first` to `last` (-1: to the bottom of the window).
    void RepaintLines(int first, int last);
    // Detaches from the current buffer and attaches to `buffer`, or to FindBuffer() when null.
    void BindBuffer(CQuillTextBuffer* buffer);
    CQuillTextBuffer* Buffer() const { return m_buffer; }

    void OnInitialUpdate() override;
    void OnDraw(CDC* dc) override;

protected:
    // The line's bytes; empty without a buffer and for a line the text does not have.
    std::string_view LineText(int line) const;

    // Key messages go to the view's key table first.
    bool PreTranslateMessage(MSG* message) override;
    bool PreCreateWindow(CREATESTRUCT& create) override;
    int OnCreate(CREATESTRUCT* create) override;
    void OnDestroy() override;
    void OnSize(UINT type, int width, int height) override;
    bool OnEraseBkgnd(CDC* dc) override;
    void OnSysColorChange() override;
    void OnSetFocus(CWnd* oldWindow) override;
    void OnKillFocus(CWnd* newWindow) override;
    void OnVScroll(UINT code, UINT position) override;
    void OnHScroll(UINT code, UINT position) override;
    bool OnMouseWheel(UINT flags, short delta, CPoint point) override;
    void OnLButtonDown(UINT flags, CPoint point) override;
    void OnLButtonUp(UINT flags, CPoint point) override;
    void OnLButtonDblClk(UINT flags, CPoint point) override;
    void OnRButtonDown(UINT flags, CPoint point) override;
    void OnMouseMove(UINT flags, CPoint point) override;
    void OnTimer(UINT_PTR id) override;
    bool OnSetCursor(CWnd* window, UINT hitTest, UINT message) override;

    // The text between the ordered ends of the selection.
    std::string SelectedText() const;

private:
    // Where the next run of a line is drawn; runs advance it.
    struct Pen {
        int x = 0;
        int y = 0;
    };

    bool SelectionShown() const { return m_hasFocus || m_selectionVisibility == SelectionVisibility::Always; }
    bool InSelection(TextPosition position) const;
    void PaintRuns(CDC& dc, const CRect& rect, int line, const std::vector<ColourSpan>& spans, Pen& pen);
    void PaintLineEnd(CDC& dc, CRect rect, int line, const Pen& pen);
    void PaintRun(CDC& dc, Pen& pen, const CRect& rect, ColourSlot slot, int offset, int count, int line);
    void DrawExpandedText(CDC& dc, Pen& pen, const CRect& rect, int line, int offset, int count);
    void InvalidateFromLine(int line);
    // The last line an insertion or deletion touched, before and after it.
    int LastChangedLineBefore(const TextChange& change) const;
    int LastChangedLineAfter(const TextChange& change) const;
    // Moves the pixels of the lines below a change that left their colours alone and repaints the
    // changed lines.
    void ShiftLinesBelowChange(const TextChange& change);
    void RepaintSelectionLines();
    void MoveStoredPositions(const TextChange& change);
    void WidenForChangedLines(const TextChange* change, std::uint32_t hints, std::int32_t line);
    void ForgetLineBitmap() { m_lineBitmap.DeleteObject(); }
    void ForgetVisibleCounts();
    // The status bar pane with the caret's line and column (characters in a UTF-8 text, bytes in a
    // legacy one), both counted from 1.
    void OnUpdatePositionPane(CCmdUI* commandUi);
    void MapCaretCommands();
    void MapClipboardCommands();
    void OnEditCopy();
    void OnUpdateEditCopy(CCmdUI* commandUi);
    void MapBookmarkCommands();

    // Cursor commands (quill_text_view_navigation.cpp).
    void OnCursorCommand(UINT id);
    void FinishCaretMove(CaretMotion motion);
    void SetIdealColumnFromCaret();
    void MoveCharLeft(CaretMotion motion);
    void MoveCharRight(CaretMotion motion);
    void MoveWordLeft(CaretMotion motion);
    void MoveWordRight(CaretMotion motion);
    void MoveLineUp(CaretMotion motion);
    void MoveLineDown(CaretMotion motion);
    void MovePageUp(CaretMotion motion);
    void MovePageDown(CaretMotion motion);
    void MoveLineEnd(CaretMotion motion);
    void MoveHome(CaretMotion motion);
    void MoveTextBegin(CaretMotion motion);
    void MoveTextEnd(CaretMotion motion);
    // The caret goes to one end of the ordered selection when there is a selection to collapse.
    enum class SelectionEnd { Start, End };
    bool CollapseSelectionTo(CaretMotion motion, SelectionEnd end);
    void MoveVertically(int lines, CaretMotion motion);
    void MoveCaretToLine(int line);

    // Bookmarks (quill_text_view_bookmarks.cpp).
    void OnToggleNumberedBookmark(UINT id);
    void OnGoToNumberedBookmark(UINT id);
    void OnToggleBookmark();
    void OnNextBookmark();
    void OnPreviousBookmark();
    void OnClearAllBookmarks();
    void OnUpdateUnnumberedBookmarkCommand(CCmdUI* commandUi);
    void GoToBookmarkLine(int line);

    // Encoding (View menu).
    void OnEncodingCommand(UINT id);
    void OnUpdateEncodingCommand(CCmdUI* commandUi);
    // Moves every stored position to the start of the character it is in.
    void KeepPositionsOnCharacters();
    TextPosition OnCharacter(TextPosition position) const;
    TextPosition LimitedToText(TextPosition position) const;
    TextPosition TextEnd() const;

    // Painting of UTF-8 text: runs of valid characters and marks for invalid bytes.
    void DrawUtf8Text(CDC& dc, Pen& pen, const CRect& rect, int line, int offset, int count);
    int LimitedTopLine(int line) const;
    int LimitedFirstColumn(int column);

    CQuillTextBuffer* m_buffer = nullptr;

    LOGFONT m_logFont;
    CFont m_viewFont;
    int m_lineHeight = -1;
    int m_charWidth = -1;
    int m_tabSize = 4;
    bool m_showMargin = true;
    int m_topLine = 0;
    int m_firstColumn = 0;
    int m_visibleLineCount = -1;
    int m_visibleColumnCount = -1;
    int m_widestLineLength = -1;
    LineValueCache m_parseStates;
    LineValueCache m_lengths;
    CBitmap m_lineBitmap;
    CImageList m_marginImages;
    bool m_hasFocus = false;
    SelectionVisibility m_selectionVisibility = SelectionVisibility::WithFocus;

    TextPosition m_caretPos;
    TextPosition m_anchorPos;
    TextPosition m_selStart;
    TextPosition m_selEnd;
    // The ordered selection of the paint in progress.
    TextPosition m_drawSelStart;
    TextPosition m_drawSelEnd;
    // The columns of pixels the paint in progress must cover: a narrow strip uncovered by a
    // horizontal scroll draws only the runs that reach into it.
    int m_drawLeft = INT_MIN;
    int m_drawRight = INT_MAX;
    int m_idealColumn = -1;
    bool m_caretSuppressed = false;
    bool m_anyUnnumberedBookmark = false;
    HACCEL m_accelerators = nullptr;

    // Find (quill_text_view_find.cpp): the options of the last Find dialog of this view.
    void MapFindCommands();
    void ForgetLastSearch();
    void OnEditFind();
    void OnEditFindNext();
    void OnEditFindPrevious();
    void FindAgain(std::uint32_t flags);
    void OnUpdateFindAgain(CCmdUI* commandUi);
    bool m_lastSearchValid = false;
    std::uint32_t m_lastSearchFlags = 0;
    std::string m_lastSearchText;

    // The mouse (quill_text_view_mouse.cpp).
    bool SelectionContains(TextPosition position) const;
    TextPosition PositionAfterLine(int line) const;
    // Moves the caret and leaves the anchor where it was.
    void MoveCaretKeepingAnchor(TextPosition position);
    std::pair<TextPosition, TextPosition> WordSpan(TextPosition anchor, TextPosition position) const;
    // The whole lines from the anchor's to the pointer's; `caret` is where the caret goes.
    std::pair<TextPosition, TextPosition> LineSpan(int anchorLine, int pointerLine, TextPosition& caret) const;
    void StartMouseSelection(MouseSelectionMode mode);
    void EndMouseSelection();
    void ShowSelection(TextPosition start, TextPosition end);
    void ExtendMouseSelection(CPoint point);
    void FinishMouseSelection(CPoint point);
    void ScrollTowardsPointer();
    void DragSelection();
    void OfferPrimarySelection();
    void ForgetMouseState();
    bool m_mouseSelecting = false;
    bool m_lineSelectMode = false;
    bool m_wordSelectMode = false;
    UINT_PTR m_selectTimer = 0;
    bool m_dragPending = false;
    CPoint m_dragPendingPoint;
    bool m_draggingText = false;
    TextRange m_draggedRange;

    // Deferred updates (quill_text_view_deferred.cpp).
    void NoteDeferredChange(const TextChange* change, std::uint32_t hints, std::int32_t line);
    void CatchUpDeferredChanges();
    int m_updatesDeferred = 0;
    int m_deferredFirstLine = INT_MAX;
    std::uint32_t m_deferredHints = 0;
    // The lines changed in place, while no change added or removed lines.
    std::vector<int> m_deferredChangedLines;
    bool m_deferredLinesMoved = false;
};
