// Launch and Cancel from the form: the checks with their messages and focus,
// what a Launch captures, Cancel, and the time-out. Runs where a broadcast
// cannot leave (see CMakeLists.txt): the worker meets no box here.
#include <QApplication>
#include <QLineEdit>
#include <QTest>

#include <chrono>

#include "platform/wnd/ip_address_edit_qt.h"
#include "settings/box_settings.h"
#include "settings/dotted_quad.h"
#include "tests/dialogs/dialog_harness.h"
#include "ui/control_ids.h"
#include "ui/nestiq_dlg.h"

namespace {

using namespace std::chrono_literals;

class Launch : public DialogTest {
 protected:
  void SetUp() override {
    DialogTest::SetUp();
    ASSERT_EQ(std::system(NESTIQ_NETNS_DIR "/in-private-netns"), 0) << "must run in a private network namespace";
    setHost("192.168.1.20", "255.255.255.0", "192.168.1.1", "192.168.1.1");
  }
  static ExchangeSetup quick() {
    ExchangeSetup s;
    s.timing.answerWait = 200ms;
    s.timing.receiveLimit = 200ms;
    s.timeoutMs = 60000;
    return s;
  }
  // A form that passes every check.
  void fillGoodForm(CNestiqDlg& dlg) {
    typeLicence(dlg, "LIC-1");
    typeAddress(dlg, IDC_IPADDRESS, "192.168.1.50");
  }
  static bool animationPlaying(CNestiqDlg& dlg) { return dlg.m_animBusy.IsPlaying(); }
};

struct RuleCase {
  const char* name;
  const char* licence;
  std::vector<std::pair<int, const char*>> addresses;  // "" clears the input
  const char* message;
  int focus;
};

TEST_F(Launch, FirstFailingCheckShowsItsMessageAndFocusesItsInput) {
  const RuleCase cases[] = {
      {"all empty", "", {{IDC_IPADDRESS, ""}, {IDC_MASK, ""}, {IDC_GATEWAY, ""}, {IDC_DNS, ""}},
       "Vous devez entrer un # de licence", IDC_LICENCE},
      {"address onwards empty", "L", {{IDC_IPADDRESS, ""}, {IDC_MASK, ""}, {IDC_DNS, ""}},
       "Vous devez entrer une adresse IP", IDC_IPADDRESS},
      {"mask onwards empty", "L", {{IDC_IPADDRESS, "192.168.1.50"}, {IDC_MASK, ""}, {IDC_GATEWAY, ""}},
       "Vous devez entrer un masque de sous-réseau", IDC_MASK},
      {"gateway empty", "L", {{IDC_IPADDRESS, "192.168.1.50"}, {IDC_GATEWAY, ""}, {IDC_DNS, ""}},
       "Vous devez entrer une Passerelle par défaut", IDC_GATEWAY},
      {"dns empty", "L", {{IDC_IPADDRESS, "192.168.1.50"}, {IDC_DNS, ""}}, "Vous devez entrer un Serveur DNS", IDC_DNS},
      {"host's own address", "L", {{IDC_IPADDRESS, "192.168.1.20"}},
       "Vous devez entrer une adresse IP valide pour la Box\n\t(autre que celle de votre machine)", IDC_IPADDRESS},
      {"pre-filled network address", "L", {}, "Vous devez entrer une adresse IP valide pour la Box\n", IDC_IPADDRESS},
      {"host part zero", "L", {{IDC_IPADDRESS, "192.168.1.0"}}, "Vous devez entrer une adresse IP valide pour la Box\n",
       IDC_IPADDRESS},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    boxes.shown.clear();
    CNestiqDlg dlg(nullptr, quick());
    makeMainWindow(dlg);
    ASSERT_TRUE(dlg.Create());
    typeLicence(dlg, c.licence);
    for (const auto& [id, text] : c.addresses) {
      if (*text)
        typeAddress(dlg, id, text);
      else
        addressInput(dlg, id)->clear();
    }
    control(dlg, IDC_VERSION)->setFocus();
    click(dlg, IDC_LAUNCH);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, c.message);
    EXPECT_EQ(boxes.shown[0].caption, "Erreur");
    EXPECT_TRUE(boxes.shown[0].owned);
    EXPECT_EQ(focusedControl(dlg), control(dlg, c.focus));
    // Nothing else changes.
    EXPECT_FALSE(BoxSettings.busy);
    EXPECT_STREQ(BoxSettings.boxIp, "");
    EXPECT_STREQ(BoxSettings.mask, "255.255.255.0");
    EXPECT_EQ(buttonText(dlg, IDC_LAUNCH), "Lancer");
  }
}

TEST_F(Launch, CapturesTheFormAndCancelRestoresAtOnce) {
  CNestiqDlg dlg(nullptr, quick());
  makeMainWindow(dlg);
  ASSERT_TRUE(dlg.Create());
  typeLicence(dlg, QString(60, QChar('x')));
  typeAddress(dlg, IDC_IPADDRESS, "192.168.1.255");  // all-ones host part is accepted
  addressInput(dlg, IDC_GATEWAY)->clear();
  typeAddress(dlg, IDC_GATEWAY, "10..5");               // partly filled: empty fields are 0
  click(dlg, IDC_LAUNCH);
  EXPECT_TRUE(boxes.shown.empty());
  EXPECT_TRUE(BoxSettings.busy);
  EXPECT_EQ(std::string(BoxSettings.licence), std::string(49, 'x'));
  EXPECT_STREQ(BoxSettings.boxIp, "192.168.1.255");
  EXPECT_STREQ(BoxSettings.gateway, "10.0.5.0");
  EXPECT_STREQ(BoxSettings.hostIp, "192.168.1.20");
  ASSERT_TRUE(waitFor([&] { return animationPlaying(dlg); }));
  EXPECT_EQ(buttonText(dlg, IDC_LAUNCH), "");
  EXPECT_FALSE(control(dlg, IDC_BUSY_ANIMATION)->isHidden());

  click(dlg, IDC_LAUNCH);  // Cancel
  EXPECT_FALSE(BoxSettings.busy);
  EXPECT_EQ(buttonText(dlg, IDC_LAUNCH), "Lancer");
  EXPECT_TRUE(control(dlg, IDC_BUSY_ANIMATION)->isHidden());
  EXPECT_FALSE(animationPlaying(dlg));
  // The worker winds down within one wait; nothing is shown for a Cancel.
  QTest::qWait(600);
  EXPECT_TRUE(boxes.shown.empty());
  EXPECT_EQ(buttonText(dlg, IDC_LAUNCH), "Lancer");
}

TEST_F(Launch, LicenceGoesAsWindows1252AndSpacesPass) {
  CNestiqDlg dlg(nullptr, quick());
  makeMainWindow(dlg);
  ASSERT_TRUE(dlg.Create());
  fillGoodForm(dlg);
  typeLicence(dlg, QString::fromUtf8("  é€日"));
  click(dlg, IDC_LAUNCH);
  EXPECT_TRUE(boxes.shown.empty());
  EXPECT_STREQ(BoxSettings.licence, "  \xE9\x80?");
  click(dlg, IDC_LAUNCH);
}

TEST_F(Launch, TheNextCheckUsesTheMaskOfTheLastAcceptedLaunch) {
  CNestiqDlg dlg(nullptr, quick());
  makeMainWindow(dlg);
  ASSERT_TRUE(dlg.Create());
  fillGoodForm(dlg);
  typeAddress(dlg, IDC_MASK, "255.255.0.0");
  click(dlg, IDC_LAUNCH);
  ASSERT_TRUE(boxes.shown.empty());
  EXPECT_STREQ(BoxSettings.mask, "255.255.0.0");
  click(dlg, IDC_LAUNCH);  // Cancel
  // 192.168.1.0 has host bits under 255.255.0.0: accepted now.
  typeAddress(dlg, IDC_IPADDRESS, "192.168.1.0");
  click(dlg, IDC_LAUNCH);
  EXPECT_TRUE(boxes.shown.empty());
  EXPECT_TRUE(BoxSettings.busy);
  click(dlg, IDC_LAUNCH);
}

TEST_F(Launch, LaunchRightAfterCancelStartsAFreshExchange) {
  CNestiqDlg dlg(nullptr, quick());
  makeMainWindow(dlg);
  ASSERT_TRUE(dlg.Create());
  fillGoodForm(dlg);
  for (int round = 0; round < 5; ++round) {
    click(dlg, IDC_LAUNCH);
    ASSERT_TRUE(BoxSettings.busy);
    click(dlg, IDC_LAUNCH);
    ASSERT_FALSE(BoxSettings.busy);
  }
  click(dlg, IDC_LAUNCH);
  ASSERT_TRUE(waitFor([&] { return animationPlaying(dlg); }));
  // The old workers are gone: none of them set up its sockets late or
  // restored the look of this exchange.
  QTest::qWait(500);
  EXPECT_TRUE(animationPlaying(dlg));
  EXPECT_EQ(buttonText(dlg, IDC_LAUNCH), "");
  EXPECT_TRUE(boxes.shown.empty()) << boxes.shown.front().text;
  click(dlg, IDC_LAUNCH);
}

TEST_F(Launch, TimeOutShowsItsMessageUnderTheApplicationName) {
  ExchangeSetup setup = quick();
  setup.timing.answerWait = 1500ms;
  setup.timeoutMs = 300;
  wnd::setApplicationName("BoxTool");
  CNestiqDlg dlg(nullptr, setup);
  makeMainWindow(dlg);
  ASSERT_TRUE(dlg.Create());
  fillGoodForm(dlg);
  click(dlg, IDC_LAUNCH);
  ASSERT_TRUE(waitFor([&] { return !boxes.shown.empty(); }));
  EXPECT_EQ(boxes.shown[0].caption, "BoxTool");
  EXPECT_EQ(boxes.shown[0].text,
            "Délai dépassé\nLa box n'a pas été trouvée :\n- Vérifier le numéro de licence\n- Vérifier les connexions réseau");
  EXPECT_FALSE(BoxSettings.busy);
  // The worker is still in its wait: the button stays blank until it ends.
  EXPECT_TRUE(animationPlaying(dlg));
  ASSERT_TRUE(waitFor([&] { return buttonText(dlg, IDC_LAUNCH) == "Lancer"; }, 4000));
  EXPECT_FALSE(animationPlaying(dlg));
  QTest::qWait(400);
  EXPECT_EQ(boxes.shown.size(), 1u);  // the timer acted once
}

}  // namespace
