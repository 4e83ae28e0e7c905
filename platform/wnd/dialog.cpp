#include "platform/wnd/dialog.h"

#include "platform/wnd/app.h"
#include "platform/wnd/platform.h"

namespace wnd {

namespace {

bool matches(const MessageMapEntry& e, unsigned message, WPARAM w) {
  if (e.message != message) return false;
  if (message != WM_COMMAND) return true;
  return e.controlId == static_cast<int>(LOWORD(w)) && e.notifyCode == HIWORD(w);
}

}  // namespace

void DDX_Control(DataExchange& dx, int id, Control& control) { control.Attach(dx.dialog(), id); }

void DDX_Text(DataExchange& dx, int id, std::string& value) {
  WindowHost* h = dx.dialog().host();
  if (!h) return;
  if (dx.saveAndValidate)
    value = h->controlText(id);
  else
    h->setControlText(id, value);
}

void DDX_Check(DataExchange& dx, int id, int& value) {
  WindowHost* h = dx.dialog().host();
  if (!h) return;
  if (dx.saveAndValidate)
    value = h->isChecked(id) ? 1 : 0;
  else
    h->setCheck(id, value != 0);
}

Dialog::Dialog(int templateId, Dialog* owner) : templateId_(templateId), owner_(owner) {}

Dialog::~Dialog() { DestroyWindow(); }

int Dialog::DoModal() {
  if (host_ || !createDialogWindow(*this)) return -1;
  OnInitDialog();
  if (!host_) return -1;
  // The loop shows the window: shown before, it would not be modal.
  const int result = runModalLoop(*this);
  DestroyWindow();
  return result;
}

bool Dialog::Create() {
  if (host_) return true;
  if (!createDialogWindow(*this)) return false;
  OnInitDialog();
  if (host_) showDialogWindow(*this);
  return host_ != nullptr;
}

void Dialog::DestroyWindow() {
  if (!host_) return;
  OnDestroy();
  if (App* app = AfxGetApp()) {
    Dialog* self = this;
    app->m_pMainWnd.compare_exchange_strong(self, nullptr);
  }
  destroyDialogWindow(*this);
  host_.reset();
}

void Dialog::EndDialog(int result) {
  if (host_) host_->endModal(result);
}

bool Dialog::OnInitDialog() {
  UpdateData(false);
  return true;
}

void Dialog::DoDataExchange(DataExchange&) {}

bool Dialog::UpdateData(bool save) {
  DataExchange dx(*this, save);
  DoDataExchange(dx);
  return true;
}

void Dialog::OnOK() {
  UpdateData(true);
  EndDialog(IDOK);
}

void Dialog::OnCancel() { EndDialog(IDCANCEL); }

const MessageMap* Dialog::BaseMessageMap() {
  static const MessageMap map{nullptr, {}};
  return &map;
}

const MessageMap* Dialog::GetMessageMap() const { return BaseMessageMap(); }

LRESULT Dialog::WindowProc(unsigned message, WPARAM wParam, LPARAM lParam) {
  const Current saved = current_;
  current_ = {message, wParam, lParam};
  LRESULT result = 0;
  bool handled = false;
  for (const MessageMap* map = GetMessageMap(); map && !handled; map = map->base)
    for (const MessageMapEntry& e : map->entries)
      if (matches(e, message, wParam)) {
        result = e.handler(*this, wParam, lParam);
        handled = true;
        break;
      }
  if (!handled) {
    if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED && LOWORD(wParam) == IDOK)
      OnOK();
    else if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED && LOWORD(wParam) == IDCANCEL)
      OnCancel();
    else
      result = Default();
  }
  current_ = saved;
  return result;
}

LRESULT Dialog::Default() {
  return host_ ? host_->defaultProcessing(current_.message, current_.wParam, current_.lParam) : 0;
}

int Dialog::MessageBox(const std::string& text, const char* caption) {
  return messageBoxes().showModal(this, text, caption ? std::string(caption) : applicationName());
}

unsigned Dialog::SetTimer(unsigned id, unsigned milliseconds) { return host_ ? host_->setTimer(id, milliseconds) : 0; }

bool Dialog::KillTimer(unsigned id) { return host_ ? host_->killTimer(id) : false; }

bool Dialog::PostMessage(unsigned message, WPARAM wParam, LPARAM lParam) {
  return host_ ? host_->postMessage(message, wParam, lParam) : false;
}

void Dialog::SetIcon(int iconResource, bool big) {
  if (host_) host_->setIcon(iconResource, big ? ICON_BIG : ICON_SMALL);
}

bool Dialog::IsIconic() const { return host_ && host_->isIconic(); }

void Dialog::SetWindowText(const std::string& utf8) {
  if (host_) host_->setWindowText(utf8);
}

void Dialog::attachHost(std::unique_ptr<WindowHost> host) { host_ = std::move(host); }

std::unique_ptr<WindowHost> Dialog::detachHost() { return std::move(host_); }

}  // namespace wnd
