#pragma once

#include "platform/logfont.h"

#include <memory>

namespace platform {
class FontPeer;
}

// A font object made from a LOGFONT.
class CFont {
public:
    CFont();
    ~CFont();
    CFont(const CFont&) = delete;
    CFont& operator=(const CFont&) = delete;

    // False when the window system cannot make the font; the object then stays empty.
    bool CreateFontIndirect(const LOGFONT* description);
    void DeleteObject();
    bool GetLogFont(LOGFONT* description) const;
    // Null while the object holds no font.
    const platform::FontPeer* GetSafeHandle() const;

    // Wraps a font the backend owns (a window's default font).
    static CFont* FromPeer(const platform::FontPeer& peer);

private:
    std::unique_ptr<platform::FontPeer> m_owned;
    const platform::FontPeer* m_peer = nullptr;
};
