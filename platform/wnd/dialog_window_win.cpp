// Making, running and ending a dialog's window on Win32, from the dialog
// templates in the program's resources.
#include <cstring>
#include <memory>
#include <vector>

#include "platform/wnd/window_host_win.h"

namespace wnd {

namespace {

WinWindowHost* winHost(Dialog& dialog) { return dynamic_cast<WinWindowHost*>(dialog.host()); }

HWND windowOf(Dialog* dialog) {
  auto* host = dialog ? dynamic_cast<WinWindowHost*>(dialog->host()) : nullptr;
  return host ? host->window() : nullptr;
}

// A dialog made with no owner is owned by the main window, if any.
HWND ownerWindow(Dialog& dialog) {
  Dialog* owner = dialog.owner();
  if (!owner) {
    Dialog* main = AfxGetMainWnd();
    if (main != &dialog) owner = main;
  }
  return windowOf(owner);
}

// A copy of template `id` without WS_VISIBLE: the window stays hidden until
// OnInitDialog has filled it in. Empty when the resources have no such template.
std::vector<DWORD> hiddenTemplate(HINSTANCE module, int id) {
  HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(5) /* RT_DIALOG */);
  HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
  const void* bytes = loaded ? LockResource(loaded) : nullptr;
  const DWORD size = found ? SizeofResource(module, found) : 0;
  if (!bytes || size < 18) return {};
  std::vector<DWORD> copy((size + sizeof(DWORD) - 1) / sizeof(DWORD));  // DWORD-aligned, as the call needs
  std::memcpy(copy.data(), bytes, size);
  // An extended template starts with version 1 and the signature 0xFFFF;
  // its style follows the help id and the extended style.
  WORD version = 0, signature = 0;
  std::memcpy(&version, bytes, sizeof version);
  std::memcpy(&signature, static_cast<const char*>(bytes) + 2, sizeof signature);
  const std::size_t styleOffset = (version == 1 && signature == 0xFFFF) ? 12 : 0;
  auto* styleBytes = reinterpret_cast<char*>(copy.data()) + styleOffset;
  DWORD style = 0;
  std::memcpy(&style, styleBytes, sizeof style);
  style &= ~static_cast<DWORD>(WS_VISIBLE);
  std::memcpy(styleBytes, &style, sizeof style);
  return copy;
}

INT_PTR CALLBACK dialogProc(HWND window, UINT message, ::WPARAM, ::LPARAM lParam) {
  if (message != WM_INITDIALOG) return FALSE;  // the dialog manager's own handling
  auto* dialog = reinterpret_cast<Dialog*>(lParam);
  dialog->attachHost(std::make_unique<WinWindowHost>(window, *dialog));
  return TRUE;  // the first control of the tab order takes the focus
}

// Centred over the owner, or on the screen's work area without one.
void centre(HWND window, HWND owner) {
  RECT box;
  GetWindowRect(window, &box);
  RECT area;
  if (owner && !IsIconic(owner)) {
    GetWindowRect(owner, &area);
  } else {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY), &monitor);
    area = monitor.rcWork;
  }
  const int width = box.right - box.left;
  const int height = box.bottom - box.top;
  const int x = area.left + ((area.right - area.left) - width) / 2;
  const int y = area.top + ((area.bottom - area.top) - height) / 2;
  SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void show(HWND window) {
  centre(window, GetWindow(window, GW_OWNER));
  ShowWindow(window, SW_SHOWNORMAL);
  UpdateWindow(window);
}

}  // namespace

bool createDialogWindow(Dialog& dialog) {
  HINSTANCE module = GetModuleHandleW(nullptr);
  const std::vector<DWORD> resource = hiddenTemplate(module, dialog.templateId());
  if (resource.empty()) return false;
  HWND window = CreateDialogIndirectParamW(module, reinterpret_cast<const DLGTEMPLATE*>(resource.data()),
                                           ownerWindow(dialog), dialogProc, reinterpret_cast<::LPARAM>(&dialog));
  if (!window) {
    dialog.detachHost().reset();
    return false;
  }
  return dialog.host() != nullptr;
}

void showDialogWindow(Dialog& dialog) {
  if (WinWindowHost* host = winHost(dialog)) show(host->window());
}

int runModalLoop(Dialog& dialog) {
  WinWindowHost* host = winHost(dialog);
  if (!host) return -1;
  HWND window = host->window();
  // The owner takes no input while its modal dialog runs.
  HWND owner = GetWindow(window, GW_OWNER);
  if (owner && IsWindowEnabled(owner)) {
    EnableWindow(owner, FALSE);
    host->disabledOwner = owner;
  }
  show(window);
  MSG message;
  while (winHost(dialog) == host && !host->modalEnded()) {
    const BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got == 0) {
      PostQuitMessage(static_cast<int>(message.wParam));  // for the loop outside
      break;
    }
    if (got < 0) break;
    if (!IsDialogMessageW(window, &message)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
  if (winHost(dialog) != host) return -1;
  // Hidden before the owner is enabled again, so the owner gets the activation.
  SetWindowPos(window, nullptr, 0, 0, 0, 0,
               SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
  if (host->disabledOwner) {
    EnableWindow(host->disabledOwner, TRUE);
    if (GetActiveWindow() == window) SetActiveWindow(host->disabledOwner);
    host->disabledOwner = nullptr;
  }
  return host->modalEnded() ? host->modalResult() : IDCANCEL;
}

void destroyDialogWindow(Dialog& dialog) {
  std::unique_ptr<WindowHost> detached = dialog.detachHost();
  auto* host = dynamic_cast<WinWindowHost*>(detached.get());
  if (!host) return;
  if (host->disabledOwner) EnableWindow(host->disabledOwner, TRUE);
  HWND window = host->window();
  // The window's last messages go to the dialog manager alone.
  host->unsubclass();
  DestroyWindow(window);
}

}  // namespace wnd
