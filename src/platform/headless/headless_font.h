#pragma once

#include "platform/drawing_surface.h"

namespace platform::headless {

// A font of fixed 8 x 16 pixel cells, whatever its description asks for.
class HeadlessFont : public FontPeer {
public:
    explicit HeadlessFont(const LOGFONT& description) : m_description(description) {}
    const LOGFONT& Description() const override { return m_description; }
    CSize TextExtent(std::string_view bytes) const override;

private:
    LOGFONT m_description;
};

}  // namespace platform::headless
