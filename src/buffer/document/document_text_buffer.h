#pragma once

#include "buffer/quill_text_buffer.h"

class CDocument;

// The buffer embedded in an editor document. Its modified state is the document's modified flag:
// the buffer's own field is never set, so every successful change marks the document modified
// again, and only a save under the document's own path clears it.
class DocumentTextBuffer : public CQuillTextBuffer {
public:
    explicit DocumentTextBuffer(CDocument& document) : m_document(document) {}

    void SetModified(bool modified) override;

private:
    CDocument& m_document;
};
