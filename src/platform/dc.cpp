#include "platform/dc.h"

#include "platform/backend.h"
#include "platform/bitmap.h"
#include "platform/font.h"
#include "platform/system_services.h"
#include "platform/window_peer.h"
#include "platform/wnd.h"

CDC::CDC() = default;
CDC::~CDC() = default;

bool CDC::CreateCompatibleDC(CDC*)
{
    m_target = nullptr;
    m_bitmap = nullptr;
    return true;
}

void CDC::DeleteDC()
{
    m_target = nullptr;
    m_bitmap = nullptr;
}

CFont* CDC::SelectObject(CFont* font)
{
    CFont* previous = GetCurrentFont();
    m_font = font;
    return previous;
}

CBitmap* CDC::SelectObject(CBitmap* bitmap)
{
    CBitmap* previous = m_bitmap;
    m_bitmap = bitmap;
    m_target = bitmap != nullptr ? bitmap->Surface() : nullptr;
    return previous;
}

CFont* CDC::GetCurrentFont() const
{
    if (m_font != nullptr && m_font->GetSafeHandle() != nullptr)
        return m_font;
    return CFont::FromPeer(platform::Backend::Current().WindowFont());
}

COLORREF CDC::SetTextColor(COLORREF colour)
{
    const COLORREF previous = m_textColour;
    m_textColour = colour;
    return previous;
}

COLORREF CDC::SetBkColor(COLORREF colour)
{
    const COLORREF previous = m_backgroundColour;
    m_backgroundColour = colour;
    return previous;
}

int CDC::SetBkMode(int mode)
{
    const int previous = m_backgroundMode;
    m_backgroundMode = mode;
    return previous;
}

void CDC::FillSolidRect(const CRect& rect, COLORREF colour)
{
    if (m_target != nullptr && !rect.IsRectEmpty())
        m_target->FillSolidRect(rect, colour);
}

void CDC::FillSolidRect(int x, int y, int width, int height, COLORREF colour)
{
    FillSolidRect(CRect(x, y, x + width, y + height), colour);
}

bool CDC::ExtTextOut(int x, int y, UINT options, const CRect* rect, std::string_view text)
{
    if (m_target == nullptr)
        return true;
    if (rect != nullptr && (options & ETO_OPAQUE) != 0)
        FillSolidRect(*rect, m_backgroundColour);
    std::optional<CRect> clip;
    if (rect != nullptr && (options & ETO_CLIPPED) != 0)
        clip = *rect;
    const platform::TextStyle style{GetCurrentFont()->GetSafeHandle(), m_textColour, m_backgroundColour,
                                    m_backgroundMode == OPAQUE, m_textEncoding};
    m_target->DrawText(CPoint(x, y), text, style, clip);
    return true;
}

TextEncoding CDC::SetTextEncoding(TextEncoding encoding)
{
    const TextEncoding previous = m_textEncoding;
    m_textEncoding = encoding;
    return previous;
}

bool CDC::TextOut(int x, int y, std::string_view text)
{
    return ExtTextOut(x, y, 0, nullptr, text);
}

CSize CDC::GetTextExtent(std::string_view text) const
{
    return GetCurrentFont()->GetSafeHandle()->TextExtent(text);
}

bool CDC::BitBlt(int x, int y, int width, int height, CDC* source, int sourceX, int sourceY, DWORD)
{
    if (m_target == nullptr || source == nullptr || source->m_target == nullptr)
        return m_target == nullptr;
    m_target->CopyFrom(CPoint(x, y), CSize(width, height), *source->m_target, CPoint(sourceX, sourceY));
    return true;
}

bool CDC::DrawIcon(CPoint point, const HICON& icon)
{
    if (icon == nullptr)
        return false;
    if (m_target != nullptr)
        m_target->DrawIcon(point, *icon, platform::DrawingSurface::IconLook::Normal);
    return true;
}

bool CDC::DrawDisabledIcon(CPoint point, const HICON& icon)
{
    if (icon == nullptr)
        return false;
    if (m_target != nullptr)
        m_target->DrawIcon(point, *icon, platform::DrawingSurface::IconLook::Disabled);
    return true;
}

platform::DrawingSurface* CDC::Surface() const
{
    return m_target;
}

CPaintDC::CPaintDC(CWnd* window)
{
    if (window->Peer() == nullptr)
        return;
    const platform::PaintContext paint = window->Peer()->CurrentPaint();
    SetTarget(paint.surface);
    m_ps.fErase = paint.erase;
    m_ps.rcPaint = paint.paintRect;
    if (paint.surface == nullptr || !paint.erase)
        return;
    if (window->SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(static_cast<CDC*>(this))) == 0)
        FillSolidRect(m_ps.rcPaint, GetSysColor(COLOR_WINDOW));
}

CClientDC::CClientDC(CWnd*) {}
