#pragma once

#include "buffer/buffer_view.h"
#include "buffer/line_ending_style.h"
#include "buffer/line_flags.h"
#include "buffer/line_table.h"
#include "buffer/text_position.h"
#include "buffer/undo_history.h"
#include "utils/utf8_characters.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

enum class SaveMode { KeepModified, ClearModified };

// The text of one document as a table of byte lines, and the only place where text changes. Every
// change notifies the attached views and, through InsertText and DeleteText, lands in the undo list.
//
// Refusals (a read-only buffer, a failed file operation) are reported by boolean results, with the
// reason of a failed file operation in errno. A line index outside the table, or a character index
// outside its line, is a programming error and throws std::invalid_argument.
class CQuillTextBuffer {
public:
    CQuillTextBuffer() = default;
    virtual ~CQuillTextBuffer() = default;
    CQuillTextBuffer(const CQuillTextBuffer&) = delete;
    CQuillTextBuffer& operator=(const CQuillTextBuffer&) = delete;

    // Lines and flags.
    std::int32_t LineCount() const { return m_lines.Count(); }
    std::int32_t LineLength(std::int32_t line) const;
    // The line's bytes, not NUL-terminated; valid until the line next changes.
    const char* LineChars(std::int32_t line) const;
    LineFlags LineFlagsOf(std::int32_t line) const;
    // The first line carrying flag, or -1 (also when flag is not exactly one bit).
    std::int32_t FindFlaggedLine(LineFlags flag) const;
    // Sets or clears one flag bit. line -1 means the first line carrying the flag. An exclusive set
    // first takes the flag from the line that carried it.
    void SetLineFlag(std::int32_t line, LineFlags flag, FlagOperation operation, FlagExclusivity exclusivity);
    // The next (previous) line with the unnumbered bookmark after (before) line, wrapping around;
    // line itself when it holds the only one; -1 when there is none.
    std::int32_t NextBookmarkLine(std::int32_t line) const;
    std::int32_t PrevBookmarkLine(std::int32_t line) const;

    // Text. Lines are joined with lineEnd in extracted text.
    void ExtractText(std::int32_t startLine, std::int32_t startChar, std::int32_t endLine, std::int32_t endChar,
                     std::string& text, std::string_view lineEnd = "\r\n") const;
    // Inserts text (a carriage return, with one line feed directly after it, breaks the line) and
    // reports the position just after it. Returns false, changing nothing, when read-only.
    bool RawInsertText(BufferView* source, std::int32_t line, std::int32_t character, std::string_view text,
                       std::int32_t& endLine, std::int32_t& endChar);
    // Removes the text between the positions (start not after end). Returns false when read-only.
    bool RawDeleteText(BufferView* source, std::int32_t startLine, std::int32_t startChar, std::int32_t endLine,
                       std::int32_t endChar);
    // As the raw operations, recording the change for undo with the given action code.
    bool InsertText(BufferView* source, std::int32_t line, std::int32_t character, std::string_view text,
                    std::int32_t& endLine, std::int32_t& endChar, std::int32_t action);
    bool DeleteText(BufferView* source, std::int32_t startLine, std::int32_t startChar, std::int32_t endLine,
                    std::int32_t endChar, std::int32_t action);

    // State. CreateEmpty and LoadFile replace whatever the buffer held, undo list included.
    bool CreateEmpty(LineEndingStyle style);
    // Frees the text and the undo list; the buffer is uninitialised until the next CreateEmpty or
    // LoadFile. Views are not told.
    void Clear();
    bool IsInitialised() const { return m_bInitialised; }
    bool IsReadOnly() const { return m_bReadOnly; }
    bool IsModified() const { return m_bModified; }
    LineEndingStyle GetLineEndingStyle() const { return m_lineEndingStyle; }
    // How the bytes are read as characters: decided from the bytes at load, UTF-8 for new texts.
    TextEncoding Encoding() const { return m_encoding; }
    // Whether the text may hold a tab: false only when none was read or inserted since it was
    // last read or cleared.
    bool MayHoldTabs() const { return m_lines.MayHoldTabs(); }
    // Reads the same bytes the other way; the views are told that every line may look different.
    void SetEncoding(TextEncoding encoding);
    // Every change of the modified state passes through here, so that an owner can take it over.
    virtual void SetModified(bool modified);

    // Views.
    void AttachView(BufferView* view);
    void DetachView(BufferView* view);
    void NotifyViews(BufferView* source, const TextChange* change, std::uint32_t hints, std::int32_t line);

    // Undo and redo.
    void OpenUndoGroup(UndoGroupMerge merge);
    // Closes the open group; with a source view, first calls its EditNotify with the last record.
    void CloseUndoGroup(BufferView* source);
    bool CanUndo() const { return m_undo.CanUndo(); }
    bool CanRedo() const { return m_undo.CanRedo(); }
    // Undo or redo one group; caret receives where the caret belongs afterwards. Throws
    // std::invalid_argument when there is nothing to undo or redo.
    bool Undo(TextPosition& caret);
    bool Redo(TextPosition& caret);
    // The description of the group Undo (Redo) would replay; empty when it has none.
    void UndoDescription(std::string& text) const;
    void RedoDescription(std::string& text) const;
    // The description of an action code; false, leaving text alone, for a code without one.
    virtual bool ActionDescription(std::int32_t action, std::string& text) const;

    // Files. Both return false on failure with the reason in errno.
    bool LoadFile(const std::string& path, LineEndingStyle style);
    // Writes with the buffer's style; the file is replaced only once the new text is safely on disk.
    // A file with several hard links is rewritten in place after a backup of it was made.
    bool SaveFile(const std::string& path, SaveMode mode);
    // Replaces the text by bytes held in memory (a recovered text), split at the style's line end
    // as LoadFile splits a file, read in the given encoding. Throws std::length_error for a line
    // longer than a buffer holds, leaving the buffer uninitialised.
    void LoadText(std::string_view bytes, LineEndingStyle style, TextEncoding encoding);
    // After a save that failed while rewriting a file in place: the backup with the file's previous
    // content, which the user must be told about. Empty after any other save.
    const std::string& KeptBackupPath() const { return m_keptBackup; }

private:
    void CheckLine(std::int32_t line) const;
    void CheckPosition(std::int32_t line, std::int32_t character) const;
    void CheckRange(TextPosition start, TextPosition end) const;
    void MarkModified();
    // A new text is initialised, writable, unmodified, with an empty undo position.
    void StartFreshText(LineEndingStyle style);
    TextEncoding DetectEncoding() const;

    bool PointsIntoLine(std::string_view text, std::int32_t line) const;

    // The edits themselves, on positions already checked. Each either completes or, when memory
    // runs out, throws with the text unchanged; the views are told afterwards, by the Announce
    // functions, once the undo list matches the text. InsertPieces: the first piece continues the
    // line, every further one starts a new line, and the old rest of the line follows the last;
    // returns the end position.
    TextPosition InsertPieces(TextPosition start, std::span<const std::string_view> pieces);
    void RemoveRange(TextPosition start, TextPosition end);
    void AnnounceInsertion(BufferView* source, TextPosition start, TextPosition end);
    void AnnounceDeletion(BufferView* source, TextPosition start, TextPosition end);

    // Undo bookkeeping around one edit already made: records it, in an implicit group of its own
    // unless a group is open, then tells the views through `announce`. The record's place in the
    // list was reserved before the edit, so recording cannot fail.
    template <typename Announce>
    void RecordEdit(BufferView* source, UndoRecord record, Announce announce);
    UndoRecord DeletionRecord(TextPosition start, TextPosition end, std::int32_t action) const;
    TextPosition ReplayUndo(const UndoRecord& record);
    TextPosition ReplayRedo(const UndoRecord& record);
    void SyncModifiedWithSavedPosition();

    bool m_bInitialised = false;
    bool m_bReadOnly = false;
    bool m_bModified = false;
    LineEndingStyle m_lineEndingStyle = NativeLineEndingStyle;
    TextEncoding m_encoding = TextEncoding::Utf8;
    LineTable m_lines;
    UndoHistory m_undo;
    std::vector<BufferView*> m_views;
    std::string m_keptBackup;
};
