#pragma once
// One dialog window on Qt: a QDialog built from its template, whose events
// reach the dialog as window messages.
#include <QDialog>
#include <QPointer>

#include <map>
#include <memory>

#include "platform/wnd/template_dialog_qt.h"
#include "platform/wnd/window_host.h"

class QMenu;
class QTimer;

namespace wnd {

class Dialog;

class DialogWindow : public QDialog {
 public:
  DialogWindow(Dialog& dialog, QWidget* parent);
  Dialog& dialog() { return dialog_; }

 protected:
  bool event(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 public:
  void reject() override;
  QMenu* systemMenu() { return systemMenu_; }
  void showSystemMenu(const QPoint& globalPos);
  void dispatch(unsigned message, WPARAM wParam, LPARAM lParam);

 private:
  Dialog& dialog_;
  QMenu* systemMenu_;
};

class QtWindowHost final : public WindowHost {
 public:
  QtWindowHost(Dialog& dialog, QWidget* parent);
  ~QtWindowHost() override;

  DialogWindow* window() const { return window_; }
  QWidget* control(int id) const;
  // Takes the built controls; their buttons report clicks as BN_CLICKED.
  void setControls(TemplateControls controls);
  const TemplateControls& controls() const { return controls_; }

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
  DialogWindow* window_;  // owned; read by postMessage from other threads
  TemplateControls controls_;
  std::map<unsigned, QTimer*> timers_;
};

}  // namespace wnd
