#include "platform/image_list.h"

#include "platform/dc.h"
#include "platform/drawing_surface.h"
#include "platform/resources.h"

bool CImageList::Create(UINT bitmapId, int imageWidth, int, COLORREF maskColour)
{
    m_strip = platform::resources::FindBitmap(bitmapId);
    m_imageWidth = imageWidth;
    m_maskColour = maskColour;
    return m_strip != nullptr && imageWidth > 0;
}

void CImageList::DeleteImageList()
{
    m_strip = nullptr;
}

int CImageList::GetImageCount() const
{
    return m_strip != nullptr && m_imageWidth > 0 ? m_strip->width / m_imageWidth : 0;
}

bool CImageList::Draw(CDC* dc, int image, CPoint point, UINT style)
{
    if (image < 0 || image >= GetImageCount())
        return false;
    platform::DrawingSurface* surface = dc->Surface();
    if (surface == nullptr)
        return true;
    const CRect source(image * m_imageWidth, 0, (image + 1) * m_imageWidth, m_strip->height);
    std::optional<COLORREF> transparent;
    if ((style & ILD_TRANSPARENT) != 0)
        transparent = m_maskColour;
    surface->DrawImage(point, *m_strip, source, transparent);
    return true;
}
