#pragma once

#include "platform/geometry.h"

#include <memory>

class CDC;

namespace platform {
class DrawingSurface;
}

// An off-screen bitmap that a memory device context draws into.
class CBitmap {
public:
    CBitmap();
    ~CBitmap();
    CBitmap(const CBitmap&) = delete;
    CBitmap& operator=(const CBitmap&) = delete;

    // A bitmap of the given size that can be copied to the device context's target.
    bool CreateCompatibleBitmap(CDC* dc, int width, int height);
    void DeleteObject();
    bool GetSafeHandle() const { return m_surface != nullptr; }
    platform::DrawingSurface* Surface() const { return m_surface.get(); }

private:
    std::unique_ptr<platform::DrawingSurface> m_surface;
};
