#include "platform/bitmap.h"

#include "platform/backend.h"

CBitmap::CBitmap() = default;
CBitmap::~CBitmap() = default;

bool CBitmap::CreateCompatibleBitmap(CDC*, int width, int height)
{
    m_surface = platform::Backend::Current().CreateBitmapSurface(CSize(width, height));
    return m_surface != nullptr;
}

void CBitmap::DeleteObject()
{
    m_surface.reset();
}
