#pragma once
// Windows window-style names for the dialog rows. A Windows build takes them
// from the system headers; elsewhere they are defined here with the same
// values, so the rows mean the same bits on every platform.
#include <cstdint>

#ifdef _WIN32
#include <windows.h>
#include <commctrl.h>
#else

// Window styles
inline constexpr std::uint32_t WS_POPUP = 0x80000000;
inline constexpr std::uint32_t WS_CHILD = 0x40000000;
inline constexpr std::uint32_t WS_VISIBLE = 0x10000000;
inline constexpr std::uint32_t WS_CAPTION = 0x00C00000;
inline constexpr std::uint32_t WS_BORDER = 0x00800000;
inline constexpr std::uint32_t WS_SYSMENU = 0x00080000;
inline constexpr std::uint32_t WS_THICKFRAME = 0x00040000;
inline constexpr std::uint32_t WS_GROUP = 0x00020000;
inline constexpr std::uint32_t WS_TABSTOP = 0x00010000;
inline constexpr std::uint32_t WS_MINIMIZEBOX = 0x00020000;  // same bit as WS_GROUP
inline constexpr std::uint32_t WS_MAXIMIZEBOX = 0x00010000;  // same bit as WS_TABSTOP

// Extended window styles
inline constexpr std::uint32_t WS_EX_TOOLWINDOW = 0x00000080;
inline constexpr std::uint32_t WS_EX_APPWINDOW = 0x00040000;

// Dialog styles
inline constexpr std::uint32_t DS_ABSALIGN = 0x0001;
inline constexpr std::uint32_t DS_SETFONT = 0x0040;
inline constexpr std::uint32_t DS_MODALFRAME = 0x0080;
inline constexpr std::uint32_t DS_CENTER = 0x0800;
inline constexpr std::uint32_t DS_CENTERMOUSE = 0x1000;

// Static controls
inline constexpr std::uint32_t SS_LEFT = 0x0000;
inline constexpr std::uint32_t SS_BITMAP = 0x000E;
inline constexpr std::uint32_t SS_TYPEMASK = 0x001F;
inline constexpr std::uint32_t SS_CENTERIMAGE = 0x0200;

// Buttons
inline constexpr std::uint32_t BS_PUSHBUTTON = 0x0000;
inline constexpr std::uint32_t BS_DEFPUSHBUTTON = 0x0001;
inline constexpr std::uint32_t BS_AUTOCHECKBOX = 0x0003;
inline constexpr std::uint32_t BS_GROUPBOX = 0x0007;
inline constexpr std::uint32_t BS_TYPEMASK = 0x000F;

// Edit boxes
inline constexpr std::uint32_t ES_LEFT = 0x0000;
inline constexpr std::uint32_t ES_AUTOHSCROLL = 0x0080;

// Animation control
inline constexpr std::uint32_t ACS_CENTER = 0x0001;
inline constexpr std::uint32_t ACS_TRANSPARENT = 0x0002;
inline constexpr std::uint32_t ACS_AUTOPLAY = 0x0004;

#endif
