#pragma once

#include "platform/geometry.h"
#include "platform/icon.h"
#include "platform/win_types.h"
#include "utils/utf8_characters.h"

#include <string_view>

class CBitmap;
class CFont;
class CWnd;

namespace platform {
class DrawingSurface;
}

constexpr UINT ETO_OPAQUE = 0x0002;
constexpr UINT ETO_CLIPPED = 0x0004;
constexpr int TRANSPARENT = 1;
constexpr int OPAQUE = 2;
constexpr DWORD SRCCOPY = 0x00CC0020;

// A device context: a target to draw on (a window while it paints, or a bitmap) with a selected
// font, text colour, background colour and background mode. A context without a target (a memory
// context before a bitmap is selected, or a window context outside painting) measures text but
// draws nothing.
class CDC {
public:
    CDC();
    virtual ~CDC();
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    // A memory context for drawing into bitmaps that can be copied to `dc`'s target.
    bool CreateCompatibleDC(CDC* dc);
    void DeleteDC();

    // Return the previously selected object.
    CFont* SelectObject(CFont* font);
    CBitmap* SelectObject(CBitmap* bitmap);
    CFont* GetCurrentFont() const;

    COLORREF SetTextColor(COLORREF colour);
    COLORREF SetBkColor(COLORREF colour);
    int SetBkMode(int mode);
    // How the bytes of drawn text are read; the font's character set (Legacy) unless set.
    TextEncoding SetTextEncoding(TextEncoding encoding);

    void FillSolidRect(const CRect& rect, COLORREF colour);
    void FillSolidRect(int x, int y, int width, int height, COLORREF colour);
    // ETO_OPAQUE fills `rect` with the background colour first; ETO_CLIPPED draws nothing outside
    // `rect`.
    bool ExtTextOut(int x, int y, UINT options, const CRect* rect, std::string_view text);
    bool TextOut(int x, int y, std::string_view text);
    CSize GetTextExtent(std::string_view text) const;
    bool BitBlt(int x, int y, int width, int height, CDC* source, int sourceX, int sourceY, DWORD operation);
    bool DrawIcon(CPoint point, const HICON& icon);
    // The icon in the look of a disabled control.
    bool DrawDisabledIcon(CPoint point, const HICON& icon);

    platform::DrawingSurface* Surface() const;

protected:
    void SetTarget(platform::DrawingSurface* surface) { m_target = surface; }

private:
    platform::DrawingSurface* m_target = nullptr;
    CBitmap* m_bitmap = nullptr;
    CFont* m_font = nullptr;
    COLORREF m_textColour = 0;
    COLORREF m_backgroundColour = 0xFFFFFF;
    int m_backgroundMode = OPAQUE;
    TextEncoding m_textEncoding = TextEncoding::Legacy;
};

struct PAINTSTRUCT {
    bool fErase = false;
    CRect rcPaint;
};

// The context of a window's paint (inside WM_PAINT). Erases the background first when asked
// (WM_ERASEBKGND; when the window does not erase it, the window colour fills it).
class CPaintDC : public CDC {
public:
    explicit CPaintDC(CWnd* window);
    PAINTSTRUCT m_ps;
};

// The context of a window outside painting: for measuring text with the window's fonts.
class CClientDC : public CDC {
public:
    explicit CClientDC(CWnd* window);
};
