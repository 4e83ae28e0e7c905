#include "platform/wnd/window_host_win.h"

#include <vector>

#include "platform/wnd/text_win.h"

namespace wnd {

namespace {

HICON resourceIcon(int id) { return LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id)); }

}  // namespace

WinWindowHost::WinWindowHost(HWND window, Dialog& dialog)
    : window_(window),
      dialog_(dialog),
      dialogManagerProc_(reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window, GWLP_WNDPROC))) {
  SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WinWindowHost::subclassProc));
}

WinWindowHost::~WinWindowHost() { unsubclass(); }

void WinWindowHost::unsubclass() {
  if (GetWindowLongPtrW(window_, GWLP_USERDATA) != reinterpret_cast<LONG_PTR>(this)) return;
  SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(dialogManagerProc_));
  SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
}

LRESULT CALLBACK WinWindowHost::subclassProc(HWND window, UINT message, ::WPARAM wParam, ::LPARAM lParam) {
  auto* self = reinterpret_cast<WinWindowHost*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!self) return DefWindowProcW(window, message, wParam, lParam);
  return self->dialog_.WindowProc(message, wParam, lParam);
}

LRESULT WinWindowHost::defaultProcessing(unsigned message, WPARAM wParam, LPARAM lParam) {
  return CallWindowProcW(dialogManagerProc_, window_, message, wParam, lParam);
}

bool WinWindowHost::hasControl(int id) const { return control(id) != nullptr; }

void WinWindowHost::setControlText(int id, const std::string& utf8) {
  if (HWND c = control(id)) SetWindowTextW(c, widen(utf8).c_str());
}

std::string WinWindowHost::controlText(int id) const {
  HWND c = control(id);
  if (!c) return {};
  const int length = GetWindowTextLengthW(c);
  if (length <= 0) return {};
  std::vector<wchar_t> text(static_cast<std::size_t>(length) + 1);
  const int n = GetWindowTextW(c, text.data(), length + 1);
  return narrow(text.data(), n);
}

void WinWindowHost::showControl(int id, int showCommand) {
  if (HWND c = control(id)) ShowWindow(c, showCommand);
}

bool WinWindowHost::isControlVisible(int id) const {
  HWND c = control(id);
  return c && (GetWindowLongW(c, GWL_STYLE) & WS_VISIBLE);
}

void WinWindowHost::focusControl(int id) {
  // The dialog manager's way, so that the default button follows.
  if (HWND c = control(id)) SendMessageW(window_, WM_NEXTDLGCTL, reinterpret_cast<::WPARAM>(c), TRUE);
}

void WinWindowHost::setCheck(int id, bool checked) { CheckDlgButton(window_, id, checked ? BST_CHECKED : BST_UNCHECKED); }

bool WinWindowHost::isChecked(int id) const { return IsDlgButtonChecked(window_, id) == BST_CHECKED; }

void WinWindowHost::setAddress(int id, std::uint32_t value) {
  if (HWND c = control(id)) SendMessageW(c, IPM_SETADDRESS, 0, static_cast<::LPARAM>(value));
}

std::uint32_t WinWindowHost::address(int id) const {
  DWORD value = 0;
  if (HWND c = control(id)) SendMessageW(c, IPM_GETADDRESS, 0, reinterpret_cast<::LPARAM>(&value));
  return value;
}

bool WinWindowHost::isAddressBlank(int id) const {
  HWND c = control(id);
  return !c || SendMessageW(c, IPM_ISBLANK, 0, 0) != 0;
}

std::array<std::uint8_t, 4> WinWindowHost::addressFields(int id) const {
  const std::uint32_t value = address(id);
  return {static_cast<std::uint8_t>(value >> 24), static_cast<std::uint8_t>(value >> 16),
          static_cast<std::uint8_t>(value >> 8), static_cast<std::uint8_t>(value)};
}

bool WinWindowHost::openClip(int id, int clipResource) {
  // No module: the control reads the clip from the program's own resources.
  HWND c = control(id);
  return c && SendMessageW(c, ACM_OPENW, 0, reinterpret_cast<::LPARAM>(MAKEINTRESOURCEW(clipResource))) != 0;
}

bool WinWindowHost::playClip(int id, int from, int to, int repeat) {
  HWND c = control(id);
  if (!c) return false;
  const auto frames = MAKELONG(static_cast<WORD>(from), static_cast<WORD>(to));
  if (!SendMessageW(c, ACM_PLAY, static_cast<::WPARAM>(repeat), frames)) return false;
  // Not every comctl32 answers ACM_ISPLAYING; the dialogs only play without end.
  playing_.insert(id);
  return true;
}

void WinWindowHost::stopClip(int id) {
  if (HWND c = control(id)) SendMessageW(c, ACM_STOP, 0, 0);
  playing_.erase(id);
}

bool WinWindowHost::isClipPlaying(int id) const { return playing_.count(id) != 0; }

void WinWindowHost::setWindowText(const std::string& utf8) { SetWindowTextW(window_, widen(utf8).c_str()); }

void WinWindowHost::setIcon(int iconResource, unsigned which) {
  SendMessageW(window_, WM_SETICON, which, reinterpret_cast<::LPARAM>(resourceIcon(iconResource)));
}

bool WinWindowHost::hasSystemMenu() const { return GetSystemMenu(window_, FALSE) != nullptr; }

void WinWindowHost::appendSystemMenuSeparator() {
  if (HMENU menu = GetSystemMenu(window_, FALSE)) AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
}

void WinWindowHost::appendSystemMenuItem(unsigned command, const std::string& utf8) {
  if (HMENU menu = GetSystemMenu(window_, FALSE)) AppendMenuW(menu, MF_STRING, command, widen(utf8).c_str());
}

bool WinWindowHost::isIconic() const { return IsIconic(window_) != 0; }

void WinWindowHost::paintMinimisedIcon(int iconResource, IconPlacement place) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window_, &paint);
  SendMessageW(window_, WM_ICONERASEBKGND, reinterpret_cast<::WPARAM>(dc), 0);
  RECT client;
  GetClientRect(window_, &client);
  const Point at =
      place(client.right - client.left, client.bottom - client.top, GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON));
  DrawIcon(dc, at.x, at.y, resourceIcon(iconResource));
  EndPaint(window_, &paint);
}

LRESULT WinWindowHost::iconHandle(int iconResource) { return reinterpret_cast<LRESULT>(resourceIcon(iconResource)); }

unsigned WinWindowHost::setTimer(unsigned id, unsigned milliseconds) {
  return static_cast<unsigned>(SetTimer(window_, id, milliseconds, nullptr));
}

bool WinWindowHost::killTimer(unsigned id) { return KillTimer(window_, id) != 0; }

bool WinWindowHost::postMessage(unsigned message, WPARAM wParam, LPARAM lParam) {
  return PostMessageW(window_, message, wParam, lParam) != 0;
}

void WinWindowHost::endModal(int result) {
  modalEnded_ = true;
  modalResult_ = result;
  PostMessageW(window_, WM_NULL, 0, 0);  // wakes the modal loop
}

}  // namespace wnd
