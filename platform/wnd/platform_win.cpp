// The toolkit-wide part of the framework on Win32: the UI thread, message
// boxes, resource strings, the application's name and entry.
#include <system_error>
#include <thread>
#include <vector>

#include "platform/wnd/text_win.h"
#include "platform/wnd/window_host_win.h"
#include "settings/app_name.h"

namespace wnd {

namespace {

constexpr UINT kRunPosted = WM_APP + 1;

DWORD gUiThread = 0;
HWND gDispatcher = nullptr;  // message-only window of the UI thread

HWND windowOf(Dialog* dialog) {
  auto* host = dialog ? dynamic_cast<WinWindowHost*>(dialog->host()) : nullptr;
  return host ? host->window() : nullptr;
}

// Wide all the way, so accents show whatever the system's code page.
void showBox(HWND owner, const std::string& text, const std::string& caption) {
  MessageBoxW(owner, widen(text).c_str(), widen(caption).c_str(), MB_OK);
}

class WinMessageBoxes final : public MessageBoxPresenter {
 public:
  int showModal(Dialog* owner, const std::string& text, const std::string& caption) override {
    showBox(windowOf(owner), text, caption);
    return IDOK;
  }
  void showModeless(const std::string& text, const std::string& caption, std::function<void()> closed) override {
    // Modal to a thread of its own only: the dialog stays usable.
    try {
      std::thread([text, caption, closed] {
        showBox(nullptr, text, caption);
        if (closed) postToUiThread(closed);
      }).detach();
    } catch (const std::system_error&) {
      showBox(nullptr, text, caption);
      if (closed) closed();
    }
  }
};

WinMessageBoxes gWinBoxes;
MessageBoxPresenter* gPresenter = nullptr;


LRESULT CALLBACK dispatcherProc(HWND window, UINT message, ::WPARAM wParam, ::LPARAM lParam) {
  if (message == kRunPosted) {
    std::unique_ptr<std::function<void()>> fn(reinterpret_cast<std::function<void()>*>(lParam));
    if (*fn) (*fn)();
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

void makeDispatcher() {
  gUiThread = GetCurrentThreadId();
  WNDCLASSW type{};
  type.lpfnWndProc = dispatcherProc;
  type.hInstance = GetModuleHandleW(nullptr);
  type.lpszClassName = L"NestiqUiThread";
  RegisterClassW(&type);
  gDispatcher = CreateWindowExW(0, type.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, type.hInstance,
                                nullptr);
}

std::string executablePath() {
  std::vector<wchar_t> path(MAX_PATH);
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n == 0) return {};
    if (n < path.size()) return narrow(path.data(), static_cast<int>(n));
    if (path.size() >= 32768) return {};
    path.resize(path.size() * 2);
  }
}


}  // namespace

std::string resourceString(int id) {
  const wchar_t* text = nullptr;
  // With no buffer, LoadStringW hands out the resource's own text.
  const int n = LoadStringW(GetModuleHandleW(nullptr), static_cast<UINT>(id), reinterpret_cast<LPWSTR>(&text), 0);
  return n > 0 ? narrow(text, n) : std::string();
}

MessageBoxPresenter& messageBoxes() { return gPresenter ? *gPresenter : gWinBoxes; }
void setMessageBoxPresenter(MessageBoxPresenter* presenter) { gPresenter = presenter; }

void postToUiThread(std::function<void()> fn) {
  auto* posted = new std::function<void()>(std::move(fn));
  if (!gDispatcher || !PostMessageW(gDispatcher, kRunPosted, 0, reinterpret_cast<::LPARAM>(posted))) delete posted;
}

bool onUiThread() { return GetCurrentThreadId() == gUiThread; }


int runApplication(App& app, const char*) {
  INITCOMMONCONTROLSEX controls{};
  controls.dwSize = sizeof controls;
  controls.dwICC = ICC_INTERNET_CLASSES | ICC_ANIMATE_CLASS;
  InitCommonControlsEx(&controls);
  makeDispatcher();
  // Named after the executable's own file, wherever it was started from.
  setApplicationName(applicationNameFromPath(executablePath()));
  runInitInstance(app);
  return 0;
}

}  // namespace wnd
