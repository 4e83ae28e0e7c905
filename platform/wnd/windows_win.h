#pragma once
// windows.h for the framework's Win32 files. The framework's own names come
// first: windows.h turns several of them into macros (WM_PAINT, IDOK,
// LOWORD...) and others into their A/W forms (MessageBox, LoadString,
// PostMessage, SetWindowText, GetWindowText), which are undone here, so the
// Win32 files call the W functions by their full names.
#include "platform/wnd/app.h"
#include "platform/wnd/dialog.h"
#include "platform/wnd/platform.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#include <commctrl.h>

#undef MessageBox
#undef LoadString
#undef PostMessage
#undef SetWindowText
#undef GetWindowText
