#pragma once

#include "buffer/document/quill_edit_doc.h"

// The LaTeX document: an editor document that also knows whether an output job is running for it.
class CLatexDoc : public CQuillEditDoc {
public:
    // Set while an output job runs for the document; the output commands are disabled meanwhile.
    bool m_bProcessing = false;
};
