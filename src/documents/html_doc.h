#pragma once

#include "buffer/document/quill_edit_doc.h"

// The HTML document: an editor document of a page. Pages held on the server open and save through
// the maintenance service; a local page is a plain editor document.
class CHtmlDoc : public CQuillEditDoc {
};
