#pragma once

#include "utils/utf8_characters.h"

#include <string_view>

// How the documentation job reads a source, a page or an entity text: by the one encoding rule of
// the editor, UTF-8 unless the bytes above 127 mostly form no valid UTF-8 sequence.
TextEncoding DetectedEncoding(std::string_view text);
