#include "tests/dialogs/dialog_harness.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include "platform/wnd/app.h"
#include "platform/wnd/ip_address_edit_qt.h"
#include "platform/wnd/window_host_qt.h"
#include "settings/box_settings.h"
#include "ui/control_ids.h"

namespace {
class TestApp final : public wnd::App {
 public:
  bool InitInstance() override { return false; }
};
TestApp testApp;
}  // namespace

void DialogTest::makeMainWindow(wnd::Dialog& dialog) { testApp.m_pMainWnd = &dialog; }

int ScriptedBoxes::showModal(wnd::Dialog* owner, const std::string& text, const std::string& caption) {
  shown.push_back({owner != nullptr, true, text, caption, open_});
  ++open_;
  if (whileOpen) whileOpen(shown.back());
  --open_;
  return wnd::IDOK;
}

void ScriptedBoxes::showModeless(const std::string& text, const std::string& caption, std::function<void()> closed) {
  shown.push_back({false, false, text, caption, open_});
  QTimer::singleShot(0, qApp, [closed = std::move(closed)] { closed(); });
}

void DialogTest::SetUp() {
  resetBoxSettings(BoxSettings);
  wnd::setMessageBoxPresenter(&boxes);
  wnd::setApplicationName("nestiq");
}

void DialogTest::TearDown() {
  wnd::setMessageBoxPresenter(nullptr);
  testApp.m_pMainWnd = nullptr;
  BoxSettings.busy = false;
}

void DialogTest::setHost(const char* hostIp, const char* mask, const char* gateway, const char* dns) {
  copyToField(BoxSettings.hostIp, hostIp);
  copyToField(BoxSettings.mask, mask);
  copyToField(BoxSettings.gateway, gateway);
  copyToField(BoxSettings.dns, dns);
}

QWidget* DialogTest::control(wnd::Dialog& dialog, int id) {
  auto* host = dynamic_cast<wnd::QtWindowHost*>(dialog.host());
  return host ? host->control(id) : nullptr;
}

IpAddressEdit* DialogTest::addressInput(wnd::Dialog& dialog, int id) {
  return qobject_cast<IpAddressEdit*>(control(dialog, id));
}

QDialog* DialogTest::window(wnd::Dialog& dialog) {
  auto* host = dynamic_cast<wnd::QtWindowHost*>(dialog.host());
  return host ? host->window() : nullptr;
}

QWidget* DialogTest::focusedControl(wnd::Dialog& dialog) {
  QWidget* focus = window(dialog)->focusWidget();
  // An address input's fields are its own children.
  for (QWidget* w = focus; w; w = w->parentWidget())
    if (w->property("controlId").isValid()) return w;
  return focus;
}

void DialogTest::typeAddress(wnd::Dialog& dialog, int id, const QString& text) {
  // Field by field: the input's own keyboard handling has tests of its own.
  IpAddressEdit* input = addressInput(dialog, id);
  input->clear();
  const QStringList parts = text.split('.');
  for (int i = 0; i < 4 && i < parts.size(); ++i) input->field(i)->setText(parts[i]);
}

void DialogTest::typeLicence(wnd::Dialog& dialog, const QString& text) {
  auto* edit = qobject_cast<QLineEdit*>(control(dialog, IDC_LICENCE));
  edit->setText(text);
}

void DialogTest::click(wnd::Dialog& dialog, int id) { qobject_cast<QAbstractButton*>(control(dialog, id))->click(); }

std::string DialogTest::buttonText(wnd::Dialog& dialog, int id) {
  return qobject_cast<QAbstractButton*>(control(dialog, id))->text().toStdString();
}

bool DialogTest::waitFor(const std::function<bool()>& pred, int milliseconds) {
  QElapsedTimer clock;
  clock.start();
  while (!pred()) {
    if (clock.elapsed() > milliseconds) return false;
    QApplication::processEvents(QEventLoop::AllEvents, 20);
    QTest::qWait(5);
  }
  return true;
}

void DialogTest::whenDialogShows(const QString& title, std::function<void(QDialog&)> action) {
  auto* poll = new QTimer(qApp);
  QObject::connect(poll, &QTimer::timeout, poll, [poll, title, action = std::move(action)] {
    auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (!modal || modal->windowTitle() != title || !modal->isVisible()) return;
    poll->stop();
    poll->deleteLater();
    action(*modal);
  });
  poll->start(10);
}
