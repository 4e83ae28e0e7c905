// Making, running and ending a dialog's window on Qt.
#include <QApplication>
#include <QPixmap>

#include "platform/wnd/app.h"
#include "platform/wnd/dialog.h"
#include "platform/wnd/platform.h"
#include "platform/wnd/template_dialog_qt.h"
#include "platform/wnd/window_host_qt.h"
#include "res/dialog_template.h"
#include "res/resources.h"

namespace wnd {

namespace {

QtWindowHost* qtHost(Dialog& dialog) { return dynamic_cast<QtWindowHost*>(dialog.host()); }

QPixmap pictureResource(int id) {
  const auto bytes = resourceData(ResourceType::Bitmap, id);
  QPixmap picture;
  picture.loadFromData(bytes.data(), static_cast<uint>(bytes.size()), "BMP");
  return picture;
}

// A dialog made with no owner is owned by the main window, if any.
QWidget* ownerWidget(Dialog& dialog) {
  Dialog* owner = dialog.owner();
  if (!owner) {
    Dialog* main = AfxGetMainWnd();
    if (main != &dialog) owner = main;
  }
  QtWindowHost* host = owner ? qtHost(*owner) : nullptr;
  return host ? host->window() : nullptr;
}

}  // namespace

bool createDialogWindow(Dialog& dialog) {
  const DialogTemplate* t = findDialogTemplate(dialog.templateId());
  if (!t) return false;
  auto host = std::make_unique<QtWindowHost>(dialog, ownerWidget(dialog));
  host->setControls(buildTemplateDialog(*host->window(), *t, pictureResource));
  dialog.attachHost(std::move(host));
  return true;
}

namespace {

// Centred, and the first control of the tab order takes the focus, as in
// a Windows dialog.
void prepareToShow(QtWindowHost& host) {
  centreDialog(*host.window(), host.window()->parentWidget());
  for (QWidget* w : host.controls().inOrder)
    if (!w->isHidden() && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus)) {
      w->setFocus(Qt::TabFocusReason);
      break;
    }
}

}  // namespace

void showDialogWindow(Dialog& dialog) {
  QtWindowHost* host = qtHost(dialog);
  if (!host) return;
  prepareToShow(*host);
  host->window()->show();
}

int runModalLoop(Dialog& dialog) {
  QtWindowHost* host = qtHost(dialog);
  if (!host) return -1;
  prepareToShow(*host);
  return host->window()->exec();
}

void destroyDialogWindow(Dialog& dialog) { dialog.detachHost().reset(); }

}  // namespace wnd
