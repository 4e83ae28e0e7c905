#pragma once
// One dialog window on Win32: a dialog made from its resource template,
// subclassed so that every message reaches Dialog::WindowProc first.
#include <set>

#include "platform/wnd/window_host.h"
#include "platform/wnd/windows_win.h"

namespace wnd {

class Dialog;

class WinWindowHost final : public WindowHost {
 public:
  WinWindowHost(HWND window, Dialog& dialog);
  ~WinWindowHost() override;
  WinWindowHost(const WinWindowHost&) = delete;
  WinWindowHost& operator=(const WinWindowHost&) = delete;

  HWND window() const { return window_; }
  Dialog& dialog() const { return dialog_; }
  // Puts the window back on the dialog manager's own procedure.
  void unsubclass();

  bool modalEnded() const { return modalEnded_; }
  int modalResult() const { return modalResult_; }
  // The owner that the modal run disabled, to enable again at its end.
  HWND disabledOwner = nullptr;

  bool hasControl(int id) const override;
  void setControlText(int id, const std::string& utf8) override;
  std::string controlText(int id) const override;
  void showControl(int id, int showCommand) override;
  bool isControlVisible(int id) const override;
  void focusControl(int id) override;
  void setCheck(int id, bool checked) override;
  bool isChecked(int id) const override;
  void setAddress(int id, std::uint32_t value) override;
  std::uint32_t address(int id) const override;
  bool isAddressBlank(int id) const override;
  std::array<std::uint8_t, 4> addressFields(int id) const override;
  bool openClip(int id, int clipResource) override;
  bool playClip(int id, int from, int to, int repeat) override;
  void stopClip(int id) override;
  bool isClipPlaying(int id) const override;
  void setWindowText(const std::string& utf8) override;
  void setIcon(int iconResource, unsigned which) override;
  bool hasSystemMenu() const override;
  void appendSystemMenuSeparator() override;
  void appendSystemMenuItem(unsigned command, const std::string& utf8) override;
  bool isIconic() const override;
  void paintMinimisedIcon(int iconResource, IconPlacement place) override;
  LRESULT iconHandle(int iconResource) override;
  unsigned setTimer(unsigned id, unsigned milliseconds) override;
  bool killTimer(unsigned id) override;
  bool postMessage(unsigned message, WPARAM wParam, LPARAM lParam) override;
  LRESULT defaultProcessing(unsigned message, WPARAM wParam, LPARAM lParam) override;
  void endModal(int result) override;

 private:
  static LRESULT CALLBACK subclassProc(HWND window, UINT message, ::WPARAM wParam, ::LPARAM lParam);
  HWND control(int id) const { return GetDlgItem(window_, id); }

  const HWND window_;  // read by postMessage from other threads
  Dialog& dialog_;
  WNDPROC dialogManagerProc_;
  std::set<int> playing_;  // clips played without end until stopped
  bool modalEnded_ = false;
  int modalResult_ = 0;
};

}  // namespace wnd
