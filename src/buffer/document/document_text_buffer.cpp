#include "buffer/document/document_text_buffer.h"

#include "platform/document.h"

void DocumentTextBuffer::SetModified(bool modified)
{
    m_document.SetModifiedFlag(modified);
}
