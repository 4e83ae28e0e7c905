#pragma once
// Handles on a dialog's controls, attached by id in DoDataExchange. They
// create nothing; with no window they do nothing.
#include <array>
#include <cstdint>
#include <string>

namespace wnd {

class Dialog;
class WindowHost;

class Control {
 public:
  void Attach(Dialog& dialog, int id) {
    dialog_ = &dialog;
    id_ = id;
  }
  int id() const { return id_; }
  void SetWindowText(const std::string& utf8);
  std::string GetWindowText() const;
  void ShowWindow(int showCommand);
  bool IsWindowVisible() const;
  void SetFocus();

 protected:
  WindowHost* host() const;

 private:
  Dialog* dialog_ = nullptr;
  int id_ = -1;
};

class Button : public Control {
 public:
  void SetCheck(bool checked);
  bool GetCheck() const;
};

class Edit : public Control {};
class StaticText : public Control {};

class IPAddressCtrl : public Control {
 public:
  void SetAddress(std::uint32_t value);
  std::uint32_t GetAddress() const;  // empty fields as 0
  std::array<std::uint8_t, 4> GetAddressFields() const;
  bool IsBlank() const;
};

class AnimateCtrl : public Control {
 public:
  bool Open(int clipResource);
  bool Play(int from, int to, int repeat);
  void Stop();
  bool IsPlaying() const;
};

}  // namespace wnd
