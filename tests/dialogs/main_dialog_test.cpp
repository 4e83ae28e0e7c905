// The main dialog as a user first meets it: pre-fill, focus, the About box
// and its menu entry, and the ways it ends.
#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <QTimer>

#include "platform/wnd/ip_address_edit_qt.h"
#include "platform/wnd/window_host_qt.h"
#include "settings/box_settings.h"
#include "settings/dotted_quad.h"
#include "tests/dialogs/dialog_harness.h"
#include "ui/control_ids.h"
#include "ui/nestiq_dlg.h"

namespace {

using MainDialog = DialogTest;

struct PrefillCase {
  const char *hostIp, *mask, *gateway, *dns;
  const char *shownBox, *shownMask, *shownGateway, *shownDns;
};

TEST_F(MainDialog, PrefillsFromTheHostSettings) {
  const PrefillCase cases[] = {
      {"192.168.1.20", "255.255.255.0", "192.168.1.1", "192.168.1.1", "192.168.1.0", "255.255.255.0", "192.168.1.1",
       "192.168.1.1"},
      {"10.1.2.3", "255.0.0.0", "10.0.0.1", "9.9.9.9", "10.0.0.0", "255.0.0.0", "10.0.0.1", "9.9.9.9"},
      {"", "", "", "", "0.0.0.0", "0.0.0.0", "0.0.0.0", "0.0.0.0"},
  };
  for (const auto& c : cases) {
    setHost(c.hostIp, c.mask, c.gateway, c.dns);
    CNestiqDlg dlg;
    makeMainWindow(dlg);
    ASSERT_TRUE(dlg.Create());
    const std::pair<int, const char*> expected[] = {
        {IDC_IPADDRESS, c.shownBox}, {IDC_MASK, c.shownMask}, {IDC_GATEWAY, c.shownGateway}, {IDC_DNS, c.shownDns}};
    for (const auto& [id, text] : expected) {
      IpAddressEdit* input = addressInput(dlg, id);
      EXPECT_FALSE(input->isBlank()) << id;
      EXPECT_EQ(input->value(), parseDottedQuad(text)) << id << " for host " << c.hostIp;
      EXPECT_EQ(input->field(3)->text(), QString::number(parseDottedQuad(text) & 0xFF));
    }
  }
}

TEST_F(MainDialog, OpensWithTheEmptyLicenceFocusedAndTheAnimationHidden) {
  setHost("192.168.1.20", "255.255.255.0", "192.168.1.1", "192.168.1.1");
  CNestiqDlg dlg;
  makeMainWindow(dlg);
  ASSERT_TRUE(dlg.Create());
  EXPECT_EQ(window(dlg)->windowTitle(), QString::fromUtf8("Paramétrages Box"));
  EXPECT_EQ(focusedControl(dlg), control(dlg, IDC_LICENCE));
  EXPECT_TRUE(qobject_cast<QLineEdit*>(control(dlg, IDC_LICENCE))->text().isEmpty());
  EXPECT_TRUE(control(dlg, IDC_BUSY_ANIMATION)->isHidden());
  EXPECT_EQ(buttonText(dlg, IDC_LAUNCH), "Lancer");
  EXPECT_EQ(control(dlg, IDC_BUSY_ANIMATION)->size(), QSize(32, 32));
  EXPECT_FALSE(window(dlg)->windowIcon().isNull());
}

QStringList menuTexts(CNestiqDlg& dlg) {
  QStringList texts;
  for (QAction* a : static_cast<wnd::DialogWindow*>(DialogTest::window(dlg))->systemMenu()->actions())
    texts << (a->isSeparator() ? QStringLiteral("--") : a->text());
  return texts;
}

TEST_F(MainDialog, AboutEntryFollowsStringTable) {
  {
    CNestiqDlg dlg;
    makeMainWindow(dlg);
    ASSERT_TRUE(dlg.Create());
    EXPECT_EQ(menuTexts(dlg).mid(1), (QStringList{"--", "&A propos de Nestiq..."}));
  }
  const std::string empty;
  wnd::overrideString(IDS_ABOUTBOX, &empty);
  {
    CNestiqDlg dlg;
    makeMainWindow(dlg);
    ASSERT_TRUE(dlg.Create());
    EXPECT_EQ(menuTexts(dlg).size(), 1);  // only the window's own Close
    // The version button still opens the box.
    bool opened = false;
    whenDialogShows("Version 3.2", [&](QDialog& about) {
      opened = true;
      about.reject();
    });
    click(dlg, IDC_VERSION);
    EXPECT_TRUE(opened);
  }
  wnd::overrideString(IDS_ABOUTBOX, nullptr);
}

TEST_F(MainDialog, SystemCommandsSixteenToThirtyOneOpenTheAboutBox) {
  CNestiqDlg dlg;
  makeMainWindow(dlg);
  ASSERT_TRUE(dlg.Create());
  for (unsigned command : {16u, 31u, 32u}) {
    bool opened = false;
    whenDialogShows("Version 3.2", [&](QDialog& about) {
      opened = true;
      about.reject();
    });
    dlg.WindowProc(wnd::WM_SYSCOMMAND, command, 0);
    EXPECT_EQ(opened, command != 32) << command;
    QApplication::processEvents();
  }
}

TEST_F(MainDialog, AboutBoxIsModalAndLeavesTheFormAsItWas) {
  setHost("192.168.1.20", "255.255.255.0", "192.168.1.1", "192.168.1.1");
  CNestiqDlg dlg;
  makeMainWindow(dlg);
  ASSERT_TRUE(dlg.Create());
  typeLicence(dlg, "ABC");
  bool checked = false;
  whenDialogShows("Version 3.2", [&](QDialog& about) {
    EXPECT_EQ(QApplication::activeModalWidget(), &about);
    EXPECT_EQ(about.parentWidget(), window(dlg));  // owned by the main dialog
    // The picture at its own size, 150 x 55.
    auto* picture = about.findChild<QLabel*>();
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->size(), QSize(150, 55));
    QTest::keyClick(&about, Qt::Key_Escape);
    checked = true;
  });
  dlg.OnVersionButton();
  EXPECT_TRUE(checked);
  EXPECT_EQ(qobject_cast<QLineEdit*>(control(dlg, IDC_LICENCE))->text(), "ABC");
  EXPECT_EQ(addressInput(dlg, IDC_IPADDRESS)->value(), parseDottedQuad("192.168.1.0"));
}

TEST_F(MainDialog, EscapeCloseAndTheWindowMenuEndItAtOnce) {
  const std::function<void(QDialog&)> enders[] = {
      [](QDialog& w) { QTest::keyClick(&w, Qt::Key_Escape); },
      [](QDialog& w) { w.close(); },
      [](QDialog& w) { static_cast<wnd::DialogWindow&>(w).systemMenu()->actions().front()->trigger(); },
  };
  for (const auto& end : enders) {
    CNestiqDlg dlg;
    whenDialogShows(QString::fromUtf8("Paramétrages Box"), end);
    EXPECT_EQ(dlg.DoModal(), wnd::IDCANCEL);
    EXPECT_EQ(dlg.host(), nullptr);
    EXPECT_TRUE(boxes.shown.empty());
  }
}

TEST_F(MainDialog, EnterPressesTheLaunchButton) {
  CNestiqDlg dlg;
  makeMainWindow(dlg);
  ASSERT_TRUE(dlg.Create());
  // An empty licence: Enter from an address input runs the first check.
  addressInput(dlg, IDC_MASK)->setFocus();
  QTest::keyClick(addressInput(dlg, IDC_MASK)->field(0), Qt::Key_Return);
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].text, "Vous devez entrer un # de licence");
}

}  // namespace
