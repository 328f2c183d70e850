#pragma once

#include "platform/geometry.h"

#include <memory>
#include <string>

namespace platform {

// A program icon as the window system holds it.
class IconPeer {
public:
    virtual ~IconPeer() = default;
    virtual CSize Size() const = 0;
};

}  // namespace platform

using HICON = std::shared_ptr<const platform::IconPeer>;

// Small icons are 16 x 16 pixels, large ones 32 x 32.
enum class IconSize { Small = 16, Large = 32 };

// The icon of this name in the desktop's icon theme; null when the theme has none.
HICON LoadThemeIcon(const std::string& name, IconSize size);
// The theme's icon for an executable file that brings no icon of its own.
HICON LoadExecutableIcon(IconSize size);
