#pragma once

#include "platform/geometry.h"
#include "platform/win_types.h"

class CDC;

namespace platform {
struct BitmapResource;
}

constexpr UINT ILD_NORMAL = 0x0000;
constexpr UINT ILD_TRANSPARENT = 0x0001;

// A strip of equally wide images from a bitmap resource, one colour of which is transparent.
class CImageList {
public:
    // False when there is no bitmap resource with that id.
    bool Create(UINT bitmapId, int imageWidth, int grow, COLORREF maskColour);
    void DeleteImageList();
    bool GetSafeHandle() const { return m_strip != nullptr; }
    int GetImageCount() const;
    // ILD_TRANSPARENT leaves the mask colour out; false for an image outside the strip.
    bool Draw(CDC* dc, int image, CPoint point, UINT style);

private:
    const platform::BitmapResource* m_strip = nullptr;
    int m_imageWidth = 0;
    COLORREF m_maskColour = 0;
};
