#pragma once

#include <cstdint>

// The integer and handle types of the window system the application code is written against.

using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using UINT = unsigned int;
using UINT_PTR = std::uintptr_t;
using INT_PTR = std::intptr_t;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;

// A colour as 0x00BBGGRR.
using COLORREF = std::uint32_t;

constexpr COLORREF RGB(int red, int green, int blue)
{
    return static_cast<COLORREF>(red & 0xFF) | (static_cast<COLORREF>(green & 0xFF) << 8)
        | (static_cast<COLORREF>(blue & 0xFF) << 16);
}
constexpr int GetRValue(COLORREF colour) { return static_cast<int>(colour & 0xFF); }
constexpr int GetGValue(COLORREF colour) { return static_cast<int>((colour >> 8) & 0xFF); }
constexpr int GetBValue(COLORREF colour) { return static_cast<int>((colour >> 16) & 0xFF); }

constexpr WORD LOWORD(std::uintptr_t value) { return static_cast<WORD>(value & 0xFFFF); }
constexpr WORD HIWORD(std::uintptr_t value) { return static_cast<WORD>((value >> 16) & 0xFFFF); }
constexpr WPARAM MAKEWPARAM(unsigned low, unsigned high) { return (low & 0xFFFFu) | ((high & 0xFFFFu) << 16); }
constexpr LPARAM MAKELPARAM(int low, int high)
{
    return static_cast<LPARAM>((static_cast<unsigned>(low) & 0xFFFFu) | ((static_cast<unsigned>(high) & 0xFFFFu) << 16));
}
// The signed coordinates packed into a mouse message's LPARAM.
constexpr int GET_X_LPARAM(LPARAM value) { return static_cast<std::int16_t>(LOWORD(static_cast<std::uintptr_t>(value))); }
constexpr int GET_Y_LPARAM(LPARAM value) { return static_cast<std::int16_t>(HIWORD(static_cast<std::uintptr_t>(value))); }

// Opaque window handle: stays valid as a number after its window is gone, so a message posted to a
// destroyed window is dropped instead of reaching freed memory.
struct HWND__;
using HWND = HWND__*;
