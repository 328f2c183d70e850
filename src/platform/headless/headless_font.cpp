#include "platform/headless/headless_font.h"

#include "platform/headless/cell_surface.h"

namespace platform::headless {

CSize HeadlessFont::TextExtent(std::string_view bytes) const
{
    return {static_cast<int>(bytes.size()) * CellWidth, CellHeight};
}

}  // namespace platform::headless
