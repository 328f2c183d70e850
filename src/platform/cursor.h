#pragma once

#include "platform/win_types.h"

namespace platform {

enum class StandardCursor { Arrow, IBeam, Wait };

// A mouse pointer shape: a standard one, or the image of a cursor resource.
struct Cursor {
    StandardCursor standard = StandardCursor::Arrow;
    UINT resourceId = 0;  // non-zero for a cursor resource
};

}  // namespace platform

using HCURSOR = const platform::Cursor*;

constexpr platform::StandardCursor IDC_ARROW = platform::StandardCursor::Arrow;
constexpr platform::StandardCursor IDC_IBEAM = platform::StandardCursor::IBeam;
constexpr platform::StandardCursor IDC_WAIT = platform::StandardCursor::Wait;

HCURSOR LoadStandardCursor(platform::StandardCursor shape);
// The cursor resource with this id; null when there is none.
HCURSOR LoadCursor(UINT resourceId);
// Shows the cursor over the window under the pointer; returns the previous one.
HCURSOR SetCursor(HCURSOR cursor);

// Shows the wait cursor for its lifetime; nested ones stack.
class CWaitCursor {
public:
    CWaitCursor();
    ~CWaitCursor();
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;
};
