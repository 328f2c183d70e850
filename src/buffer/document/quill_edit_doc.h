#pragma once

#include "buffer/document/document_text_buffer.h"
#include "buffer/document/recovery_copy.h"
#include "buffer/document/recovery_keeper.h"
#include "platform/document.h"

#include <string>

// The document of every text file the editor shows: it owns the text buffer and connects the File
// commands to the buffer's loading and saving.
class CQuillEditDoc : public CDocument {
public:
    CQuillEditDoc();

    CQuillTextBuffer& Buffer() { return m_buffer; }
    const CQuillTextBuffer& Buffer() const { return m_buffer; }

    // The whole text with "\r\n" between lines and none after the last; empty for a text that is
    // one empty line.
    std::string WholeText() const;

    // Every change of the text also tells the recovery copy.
    void SetModifiedFlag(bool modified = true) override;
    // Writes a recovery copy when one is due (see RecoveryKeeper).
    void TickRecovery(RecoveryKeeper::Clock::time_point now);
    // Shows a recovered text as a modified document under its original path, so that Save writes
    // it where it belongs; the file there is not touched.
    void RecoverText(const RecoveredText& recovered);

    // Removes the recovery copy too: the text is given up.
    void DeleteContents() override;
    bool OnNewDocument() override;
    bool OnOpenDocument(const std::string& path) override;
    // Only a save under the document's own path clears the modified flag. A saved text needs no
    // recovery copy.
    bool OnSaveDocument(const std::string& path) override;

private:
    DocumentTextBuffer m_buffer;
    RecoveryKeeper m_recovery;
};
