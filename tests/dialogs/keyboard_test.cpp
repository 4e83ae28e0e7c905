// The whole flow without a mouse: Tab through the form, type, Enter to
// launch, the success dialog by keys, the About entry from the window menu;
// and the names a screen reader gives the inputs.
#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QMenu>
#include <QTest>

#include <chrono>

#include "platform/wnd/ip_address_edit_qt.h"
#include "platform/wnd/window_host_qt.h"
#include "settings/box_settings.h"
#include "settings/host_discovery.h"
#include "tests/dialogs/dialog_harness.h"
#include "tests/net/box_process.h"
#include "ui/control_ids.h"
#include "ui/nestiq_dlg.h"

namespace {

using namespace std::chrono_literals;

// What has the keyboard focus now: the application's focus, or, while the
// offscreen window system has not activated the newest window yet, that
// window's own focus widget, which is where its keys go once it is active.
QWidget* focusTarget() {
  QWidget* modal = QApplication::activeModalWidget();
  QWidget* focus = QApplication::focusWidget();
  if (modal && (!focus || focus->window() != modal) && modal->focusWidget()) return modal->focusWidget();
  return focus;
}

// Types as a user does: each key goes to whatever has the focus now.
void press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  QWidget* target = focusTarget();
  ASSERT_TRUE(target) << "nothing has the keyboard focus";
  QTest::keyClick(target, static_cast<Qt::Key>(key), modifiers);
}

void type(const QString& text) {
  for (QChar c : text) {
    QWidget* target = focusTarget();
    ASSERT_TRUE(target);
    QTest::keyClicks(target, QString(c));
  }
}

class Keyboard : public DialogTest {
 protected:
  void SetUp() override {
    DialogTest::SetUp();
    ASSERT_EQ(std::system(NESTIQ_NETNS_DIR "/in-private-netns"), 0) << "must run in a private network namespace";
    discoverHostNetwork();
  }
  // Asks for the window to be active; the keys reach its focus either way.
  static void activate(QWidget* w) {
    w->activateWindow();
    (void)QTest::qWaitForWindowActive(w, 1000);
  }
};

TEST_F(Keyboard, InputsHaveTheirLabelsAsNames) {
  CNestiqDlg dlg;
  ASSERT_TRUE(dlg.Create());
  const std::pair<int, const char*> names[] = {{IDC_LICENCE, "Licence"},
                                               {IDC_IPADDRESS, "Adresse IP"},
                                               {IDC_MASK, "Masque de sous-réseau"},
                                               {IDC_GATEWAY, "Passerelle par défaut"},
                                               {IDC_DNS, "Serveur DNS"}};
  for (const auto& [id, name] : names) {
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(control(dlg, id));
    ASSERT_TRUE(a) << id;
    EXPECT_EQ(a->text(QAccessible::Name), QString::fromUtf8(name)) << id;
  }
}

TEST_F(Keyboard, ConfiguresTheBoxWithoutAMouse) {
  const std::string boxIp = lanVariable("LAN_BOX_IP");
  BoxProcess box(lanVariable("LAN_BOX"), {"--reply", "CONFIG_OK"});
  ASSERT_TRUE(box.listening()) << box.problem();
  ExchangeSetup quick;
  quick.timing.answerWait = 500ms;
  CNestiqDlg dlg(nullptr, quick);
  makeMainWindow(dlg);
  ASSERT_TRUE(dlg.Create());
  activate(window(dlg));

  // Licence first, then Tab to the box address, which is typed field by field.
  ASSERT_EQ(focusedControl(dlg), control(dlg, IDC_LICENCE));
  type("KB-1");
  press(Qt::Key_Tab);
  ASSERT_EQ(focusedControl(dlg), control(dlg, IDC_IPADDRESS));
  type(QString::fromStdString(boxIp));
  // Mask, gateway, DNS keep their pre-fill; Tab passes each as one stop.
  for (int id : {IDC_MASK, IDC_GATEWAY, IDC_DNS, IDC_LAUNCH}) {
    press(Qt::Key_Tab);
    ASSERT_EQ(focusedControl(dlg), control(dlg, id)) << id;
  }

  bool answered = false;
  whenDialogShows(QString::fromUtf8("Box configurée"), [&](QDialog& w) {
    answered = true;
    [&] {
      activate(&w);
      // Tab to the first box and tick it with Space.
      press(Qt::Key_Tab);
      auto* box = qobject_cast<QCheckBox*>(focusTarget());
      ASSERT_TRUE(box);
      press(Qt::Key_Space);
      EXPECT_TRUE(box->isChecked());
      press(Qt::Key_Escape);  // and Escape leaves without writing anything
    }();
    if (w.isVisible()) w.reject();  // never leave the test hanging on it
  });
  press(Qt::Key_Return);
  ASSERT_TRUE(waitFor([&] { return answered; }, 8000)) << box.output();
  EXPECT_EQ(box.recordedRequest().rfind("config KB-1 " + boxIp + " ", 0), 0u) << box.recordedRequest();
}

TEST_F(Keyboard, AboutEntryFromTheWindowMenu) {
  CNestiqDlg dlg;
  makeMainWindow(dlg);
  ASSERT_TRUE(dlg.Create());
  activate(window(dlg));
  bool opened = false;
  whenDialogShows("Version 3.2", [&](QDialog& about) {
    opened = true;
    about.reject();
  });
  press(Qt::Key_Space, Qt::AltModifier);
  auto* menu = static_cast<wnd::DialogWindow*>(window(dlg))->systemMenu();
  ASSERT_TRUE(waitFor([&] { return menu->isVisible(); }, 2000));
  // The entry's mnemonic, the A of "&A propos de Nestiq...".
  QTest::keyClick(menu, Qt::Key_A);
  ASSERT_TRUE(waitFor([&] { return opened; }, 3000));
}

}  // namespace
