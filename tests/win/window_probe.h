#pragma once
// Reaches the windows of another process as a user's tools would: top-level
// windows by title, controls by id, texts by WM_GETTEXT, clicks by posted
// BM_CLICK (a sent one would block while the program shows a modal box).
#include <windows.h>

#include <array>
#include <string>

namespace probe {

// A started program; ended (if still running) when this goes.
class Program {
 public:
  explicit Program(const std::wstring& path);
  ~Program();
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  bool started() const { return process_.hProcess != nullptr; }
  DWORD id() const { return process_.dwProcessId; }
  // The exit code once it has ended within the limit; nothing otherwise.
  bool waitExit(DWORD milliseconds, DWORD& exitCode);

 private:
  PROCESS_INFORMATION process_{};
};

// A visible dialog-class window (#32770) of the process with this title;
// null when none shows up within the limit.
HWND waitDialog(DWORD processId, const std::wstring& title, DWORD milliseconds = 10000);
// True once no visible window of the process has this title any more.
bool waitNoDialog(DWORD processId, const std::wstring& title, DWORD milliseconds = 10000);
// Waits until test() holds, checking every 20 ms.
template <class Test>
bool waitUntil(Test test, DWORD milliseconds = 10000) {
  for (DWORD waited = 0;; waited += 20) {
    if (test()) return true;
    if (waited >= milliseconds) return false;
    Sleep(20);
  }
}

std::wstring text(HWND window);
std::wstring controlText(HWND dialog, int id);
void setControlText(HWND dialog, int id, const std::wstring& text);
bool controlVisible(HWND dialog, int id);
bool checked(HWND dialog, int id);
void click(HWND dialog, int id);
// The control that has the keyboard focus in the process's UI thread: its
// id, or its parent's when the focus is inside a composite control.
int focusedControl(HWND dialog);

// The four field texts of an IP address input, left to right.
std::array<std::wstring, 4> addressFields(HWND dialog, int id);
void setAddressFields(HWND dialog, int id, const std::array<std::wstring, 4>& fields);

// The message of a message box: its longest static text.
std::wstring messageText(HWND box);

std::string utf8(const std::wstring& text);

}  // namespace probe
