#pragma once

#include "utils/utf8_characters.h"

#include <string>
#include <string_view>

// How the converter wrote a page: UTF-8 when it declares a UTF-8 charset or when its bytes above
// 127 are UTF-8 by the editor's rule; otherwise in an 8-bit character set (also a page of ASCII
// only that declares no UTF-8, which any 8-bit declaration describes truly).
TextEncoding PageEncoding(std::string_view page);

// A text from the document's settings as it may stand in a page of that encoding without making the
// page's charset declaration false: in an 8-bit page every UTF-8 character above ASCII becomes a
// numeric character reference, which means the same in every charset. Other texts stay as they are.
std::string TextForPage(std::string_view text, TextEncoding pageEncoding);
