#pragma once

#include <cstdint>

// The output a documentation job is asked for; the numbers are those the editor's commands pass.
enum class OutputMode : std::int32_t {
    PostScript = 1,
    Pdf = 2,
    Html = 3,
};
