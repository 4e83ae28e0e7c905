#pragma once
// Window message, command and style numbers, with their Windows values, so
// that dialogs read the same on every build.
#include <cstdint>

namespace wnd {

using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;

inline constexpr unsigned WM_PAINT = 0x000F;
inline constexpr unsigned WM_QUERYDRAGICON = 0x0037;
inline constexpr unsigned WM_COMMAND = 0x0111;
inline constexpr unsigned WM_SYSCOMMAND = 0x0112;
inline constexpr unsigned WM_TIMER = 0x0113;
inline constexpr unsigned WM_APP = 0x8000;

inline constexpr unsigned BN_CLICKED = 0;
inline constexpr unsigned SC_CLOSE = 0xF060;

inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;

inline constexpr int SW_HIDE = 0;
inline constexpr int SW_SHOW = 5;

inline constexpr unsigned ICON_SMALL = 0;
inline constexpr unsigned ICON_BIG = 1;

constexpr WPARAM MAKEWPARAM(unsigned low, unsigned high) { return (low & 0xFFFFu) | ((high & 0xFFFFu) << 16); }
constexpr unsigned LOWORD(WPARAM w) { return static_cast<unsigned>(w & 0xFFFFu); }
constexpr unsigned HIWORD(WPARAM w) { return static_cast<unsigned>((w >> 16) & 0xFFFFu); }

}  // namespace wnd
