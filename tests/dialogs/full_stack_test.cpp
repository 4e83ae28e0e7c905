// The whole tool on a private LAN: start-up discovery, the real dialog, the
// real worker and sockets, and nestiq-box answering from the other host.
#include <QApplication>
#include <QDialog>
#include <QTest>

#include <chrono>

#include "exchange/exchange_status.h"
#include "platform/wnd/ip_address_edit_qt.h"
#include "settings/box_settings.h"
#include "settings/dotted_quad.h"
#include "settings/host_discovery.h"
#include "tests/dialogs/dialog_harness.h"
#include "tests/net/box_process.h"
#include "ui/control_ids.h"
#include "ui/nestiq_dlg.h"

namespace {

using namespace std::chrono_literals;

class FullStack : public DialogTest {
 protected:
  void SetUp() override {
    DialogTest::SetUp();
    ASSERT_EQ(std::system(NESTIQ_NETNS_DIR "/in-private-netns"), 0) << "must run in a private network namespace";
    boxNetns = lanVariable("LAN_BOX");
    boxIp = lanVariable("LAN_BOX_IP");
    pcIp = lanVariable("LAN_PC_IP");
    ASSERT_FALSE(boxNetns.empty()) << "needs the LAN made by with-lan";
    discoverHostNetwork();
  }
  static ExchangeSetup quick(unsigned timeoutMs = 60000) {
    ExchangeSetup s;
    s.timing.answerWait = 500ms;
    s.timing.receiveLimit = 1000ms;
    s.timeoutMs = timeoutMs;
    return s;
  }
  void fillForm(CNestiqDlg& dlg, const char* licence) {
    typeLicence(dlg, licence);
    typeAddress(dlg, IDC_IPADDRESS, QString::fromStdString(boxIp));
  }
  std::string boxNetns, boxIp, pcIp;
};

TEST_F(FullStack, StartsFromTheHostAndConfiguresTheBox) {
  EXPECT_STREQ(BoxSettings.hostIp, pcIp.c_str());
  BoxProcess box(boxNetns, {"--reply", "CONFIG_OK", "--count", "1"});
  ASSERT_TRUE(box.listening()) << box.problem();
  CNestiqDlg dlg(nullptr, quick());
  makeMainWindow(dlg);
  ASSERT_TRUE(dlg.Create());
  // The box address starts as the PC's network address.
  EXPECT_EQ(addressInput(dlg, IDC_IPADDRESS)->value(),
            parseDottedQuad(BoxSettings.hostIp) & parseDottedQuad(BoxSettings.mask));
  fillForm(dlg, "AB 12");
  bool summaryShown = false;
  whenDialogShows(QString::fromUtf8("Box configurée"), [&](QDialog& w) {
    summaryShown = true;
    w.reject();
  });
  click(dlg, IDC_LAUNCH);
  ASSERT_TRUE(waitFor([&] { return summaryShown; }, 8000)) << box.output();
  EXPECT_EQ(box.recordedRequest(), "config AB 12 " + boxIp + " " + BoxSettings.mask + " " + BoxSettings.gateway + " " +
                                       BoxSettings.dns);
  ASSERT_TRUE(waitFor([&] { return buttonText(dlg, IDC_LAUNCH) == "Lancer"; }));
  EXPECT_FALSE(BoxSettings.busy);
  EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(FullStack, ABadTokenShowsItsMessage) {
  BoxProcess box(boxNetns, {"--reply", "CONFIG_BAD_LICENCE", "--count", "1"});
  ASSERT_TRUE(box.listening()) << box.problem();
  CNestiqDlg dlg(nullptr, quick());
  makeMainWindow(dlg);
  ASSERT_TRUE(dlg.Create());
  fillForm(dlg, "WRONG");
  click(dlg, IDC_LAUNCH);
  ASSERT_TRUE(waitFor([&] { return !boxes.shown.empty(); }, 8000)) << box.output();
  EXPECT_EQ(boxes.shown[0].text, "La licence est incorrecte");
  EXPECT_EQ(boxes.shown[0].caption, "Erreur");
}

TEST_F(FullStack, SilenceEndsInTheTimeOut) {
  BoxProcess box(boxNetns, {"--no-connect"});
  ASSERT_TRUE(box.listening()) << box.problem();
  CNestiqDlg dlg(nullptr, quick(1800));
  makeMainWindow(dlg);
  ASSERT_TRUE(dlg.Create());
  fillForm(dlg, "LIC");
  click(dlg, IDC_LAUNCH);
  ASSERT_TRUE(waitFor([&] { return !boxes.shown.empty(); }, 8000));
  EXPECT_EQ(boxes.shown[0].caption, "nestiq");
  ASSERT_TRUE(waitFor([&] { return buttonText(dlg, IDC_LAUNCH) == "Lancer"; }));
  // One datagram a wait while it lasted.
  EXPECT_GE(box.requests().size(), 3u);
  EXPECT_LE(box.requests().size(), 5u);
}

TEST_F(FullStack, CancelThenLaunchAgainAtOnceIsAnswered) {
  BoxProcess box(boxNetns, {"--reply", "CONFIG_BAD_DNS", "--delay", "300"});
  ASSERT_TRUE(box.listening()) << box.problem();
  CNestiqDlg dlg(nullptr, quick());
  makeMainWindow(dlg);
  ASSERT_TRUE(dlg.Create());
  fillForm(dlg, "LIC");
  click(dlg, IDC_LAUNCH);
  click(dlg, IDC_LAUNCH);  // Cancel
  click(dlg, IDC_LAUNCH);  // and again, while the first worker is still about
  ASSERT_TRUE(waitFor([&] { return !boxes.shown.empty(); }, 8000)) << box.output();
  EXPECT_EQ(boxes.shown[0].text, "Le Serveur DNS est incorrect");
  QTest::qWait(800);
  EXPECT_EQ(boxes.shown.size(), 1u);  // the cut-off worker reported nothing
}

}  // namespace
