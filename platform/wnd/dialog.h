#pragma once
// The dialog base class: a template number, data exchange, a message map
// with fallback to the base, and the window operations the dialogs use.
#include <memory>
#include <string>

#include "platform/wnd/controls.h"
#include "platform/wnd/message_map.h"
#include "platform/wnd/window_host.h"

namespace wnd {

class DataExchange {
 public:
  explicit DataExchange(Dialog& dialog, bool save) : dialog_(dialog), saveAndValidate(save) {}
  Dialog& dialog() { return dialog_; }

 private:
  Dialog& dialog_;

 public:
  const bool saveAndValidate;
};

void DDX_Control(DataExchange& dx, int id, Control& control);
// Text as UTF-8.
void DDX_Text(DataExchange& dx, int id, std::string& value);
void DDX_Check(DataExchange& dx, int id, int& value);

class Dialog {
 public:
  explicit Dialog(int templateId, Dialog* owner = nullptr);
  virtual ~Dialog();
  Dialog(const Dialog&) = delete;
  Dialog& operator=(const Dialog&) = delete;

  int templateId() const { return templateId_; }
  Dialog* owner() const { return owner_; }

  // Creates the window, runs OnInitDialog and waits until EndDialog.
  // Returns the result, or -1 when the window cannot be made.
  int DoModal();
  // Creates the window and runs OnInitDialog without waiting (tests drive
  // such a dialog, then end it with EndDialog and DestroyWindow).
  bool Create();
  void DestroyWindow();
  void EndDialog(int result);
  // Runs while the window still exists, just before it goes.
  virtual void OnDestroy() {}

  virtual bool OnInitDialog();
  virtual void DoDataExchange(DataExchange& dx);
  bool UpdateData(bool save = true);
  virtual void OnOK();
  virtual void OnCancel();

  virtual const MessageMap* GetMessageMap() const;
  static const MessageMap* BaseMessageMap();
  // Every message arrives here, on the UI thread.
  LRESULT WindowProc(unsigned message, WPARAM wParam, LPARAM lParam);
  // Default processing of the message now being handled.
  LRESULT Default();

  // caption nullptr: the application's name.
  int MessageBox(const std::string& text, const char* caption = nullptr);
  unsigned SetTimer(unsigned id, unsigned milliseconds);
  bool KillTimer(unsigned id);
  bool PostMessage(unsigned message, WPARAM wParam, LPARAM lParam);
  void SetIcon(int iconResource, bool big);
  bool IsIconic() const;
  void SetWindowText(const std::string& utf8);

  // The platform window, null while none exists.
  WindowHost* host() const { return host_.get(); }
  // The platform sets this when it makes the window and clears it when the
  // window is gone.
  void attachHost(std::unique_ptr<WindowHost> host);
  std::unique_ptr<WindowHost> detachHost();

 private:
  int templateId_;
  Dialog* owner_;
  std::unique_ptr<WindowHost> host_;
  struct Current {
    unsigned message;
    WPARAM wParam;
    LPARAM lParam;
  } current_{0, 0, 0};
};

}  // namespace wnd
