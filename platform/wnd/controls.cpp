#include "platform/wnd/controls.h"

#include "platform/wnd/dialog.h"

namespace wnd {

WindowHost* Control::host() const { return dialog_ ? dialog_->host() : nullptr; }

void Control::SetWindowText(const std::string& utf8) {
  if (auto* h = host()) h->setControlText(id_, utf8);
}

std::string Control::GetWindowText() const {
  auto* h = host();
  return h ? h->controlText(id_) : std::string();
}

void Control::ShowWindow(int showCommand) {
  if (auto* h = host()) h->showControl(id_, showCommand);
}

bool Control::IsWindowVisible() const {
  auto* h = host();
  return h && h->isControlVisible(id_);
}

void Control::SetFocus() {
  if (auto* h = host()) h->focusControl(id_);
}

void Button::SetCheck(bool checked) {
  if (auto* h = host()) h->setCheck(id(), checked);
}

bool Button::GetCheck() const {
  auto* h = host();
  return h && h->isChecked(id());
}

void IPAddressCtrl::SetAddress(std::uint32_t value) {
  if (auto* h = host()) h->setAddress(id(), value);
}

std::uint32_t IPAddressCtrl::GetAddress() const {
  auto* h = host();
  return h ? h->address(id()) : 0;
}

std::array<std::uint8_t, 4> IPAddressCtrl::GetAddressFields() const {
  auto* h = host();
  return h ? h->addressFields(id()) : std::array<std::uint8_t, 4>{};
}

bool IPAddressCtrl::IsBlank() const {
  auto* h = host();
  return !h || h->isAddressBlank(id());
}

bool AnimateCtrl::Open(int clipResource) {
  auto* h = host();
  return h && h->openClip(id(), clipResource);
}

bool AnimateCtrl::Play(int from, int to, int repeat) {
  auto* h = host();
  return h && h->playClip(id(), from, to, repeat);
}

void AnimateCtrl::Stop() {
  if (auto* h = host()) h->stopClip(id());
}

bool AnimateCtrl::IsPlaying() const {
  auto* h = host();
  return h && h->isClipPlaying(id());
}

}  // namespace wnd
