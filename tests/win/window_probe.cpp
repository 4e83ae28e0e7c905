#include "tests/win/window_probe.h"

#include <algorithm>
#include <vector>

namespace probe {

namespace {

struct Search {
  DWORD processId;
  const std::wstring* title;
  HWND found;
};

std::wstring className(HWND window) {
  wchar_t name[64] = L"";
  GetClassNameW(window, name, 64);
  return name;
}

BOOL CALLBACK matchDialog(HWND window, LPARAM context) {
  auto& search = *reinterpret_cast<Search*>(context);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != search.processId || !IsWindowVisible(window) || className(window) != L"#32770") return TRUE;
  if (text(window) != *search.title) return TRUE;
  search.found = window;
  return FALSE;
}

HWND findDialog(DWORD processId, const std::wstring& title) {
  Search search{processId, &title, nullptr};
  EnumWindows(matchDialog, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::vector<HWND> children(HWND parent, const wchar_t* ofClass) {
  std::vector<HWND> found;
  for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
    if (className(c) == ofClass) found.push_back(c);
  return found;
}

std::vector<HWND> addressEdits(HWND dialog, int id) {
  std::vector<HWND> edits = children(GetDlgItem(dialog, id), L"Edit");
  std::sort(edits.begin(), edits.end(), [](HWND a, HWND b) {
    RECT ra, rb;
    GetWindowRect(a, &ra);
    GetWindowRect(b, &rb);
    return ra.left < rb.left;
  });
  return edits;
}

}  // namespace

Program::Program(const std::wstring& path) {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  std::wstring commandLine = L"\"" + path + L"\"";
  if (!CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &process_))
    process_ = {};
}

Program::~Program() {
  if (!process_.hProcess) return;
  if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
    TerminateProcess(process_.hProcess, 99);
    WaitForSingleObject(process_.hProcess, 5000);
  }
  CloseHandle(process_.hThread);
  CloseHandle(process_.hProcess);
}

bool Program::waitExit(DWORD milliseconds, DWORD& exitCode) {
  if (!process_.hProcess || WaitForSingleObject(process_.hProcess, milliseconds) != WAIT_OBJECT_0) return false;
  return GetExitCodeProcess(process_.hProcess, &exitCode) != 0;
}

HWND waitDialog(DWORD processId, const std::wstring& title, DWORD milliseconds) {
  HWND found = nullptr;
  waitUntil([&] { return (found = findDialog(processId, title)) != nullptr; }, milliseconds);
  return found;
}

bool waitNoDialog(DWORD processId, const std::wstring& title, DWORD milliseconds) {
  return waitUntil([&] { return findDialog(processId, title) == nullptr; }, milliseconds);
}

std::wstring text(HWND window) {
  // WM_GETTEXT, marshalled across processes; a hung program gives up after 5 s.
  wchar_t buffer[1024] = L"";
  DWORD_PTR copied = 0;
  if (!window || !SendMessageTimeoutW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(buffer), SMTO_ABORTIFHUNG,
                                      5000, &copied))
    return L"";
  return std::wstring(buffer, std::min<std::size_t>(copied, 1023));
}

std::wstring controlText(HWND dialog, int id) { return text(GetDlgItem(dialog, id)); }

void setControlText(HWND dialog, int id, const std::wstring& value) {
  DWORD_PTR result = 0;
  SendMessageTimeoutW(GetDlgItem(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(value.c_str()),
                      SMTO_ABORTIFHUNG, 5000, &result);
}

bool controlVisible(HWND dialog, int id) {
  HWND c = GetDlgItem(dialog, id);
  return c && (GetWindowLongW(c, GWL_STYLE) & WS_VISIBLE);
}

bool checked(HWND dialog, int id) {
  DWORD_PTR state = 0;
  SendMessageTimeoutW(GetDlgItem(dialog, id), BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, 5000, &state);
  return state == BST_CHECKED;
}

void click(HWND dialog, int id) { PostMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

int focusedControl(HWND dialog) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info) || !info.hwndFocus) return 0;
  HWND focus = info.hwndFocus;
  if (GetParent(focus) != dialog && GetParent(focus)) focus = GetParent(focus);
  return GetParent(focus) == dialog ? GetDlgCtrlID(focus) : 0;
}

std::array<std::wstring, 4> addressFields(HWND dialog, int id) {
  std::array<std::wstring, 4> fields;
  const std::vector<HWND> edits = addressEdits(dialog, id);
  for (std::size_t i = 0; i < fields.size() && i < edits.size(); ++i) fields[i] = text(edits[i]);
  return fields;
}

void setAddressFields(HWND dialog, int id, const std::array<std::wstring, 4>& fields) {
  const std::vector<HWND> edits = addressEdits(dialog, id);
  for (std::size_t i = 0; i < fields.size() && i < edits.size(); ++i) {
    DWORD_PTR result = 0;
    SendMessageTimeoutW(edits[i], WM_SETTEXT, 0, reinterpret_cast<LPARAM>(fields[i].c_str()), SMTO_ABORTIFHUNG,
                        5000, &result);
  }
}

std::wstring messageText(HWND box) {
  std::wstring longest;
  for (HWND c : children(box, L"Static")) {
    std::wstring t = text(c);
    if (t.size() > longest.size()) longest = std::move(t);
  }
  return longest;
}

std::string utf8(const std::wstring& value) {
  if (value.empty()) return {};
  const int n = WideCharToMultiByte(CP_UTF8, 0, value.data(), static_cast<int>(value.size()), nullptr, 0, nullptr,
                                    nullptr);
  std::string out(static_cast<std::size_t>(std::max(n, 0)), '\0');
  WideCharToMultiByte(CP_UTF8, 0, value.data(), static_cast<int>(value.size()), out.data(), n, nullptr, nullptr);
  return out;
}

}  // namespace probe
