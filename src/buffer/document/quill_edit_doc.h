#pragma once

#include "buffer/document/document_text_buffer.h"
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

    void DeleteContents() override;
    bool OnNewDocument() override;
    bool OnOpenDocument(const std::string& path) override;
    // Only a save under the document's own path clears the modified flag.
    bool OnSaveDocument(const std::string& path) override;

private:
    DocumentTextBuffer m_buffer;
};
