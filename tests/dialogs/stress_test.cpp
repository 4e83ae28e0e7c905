// The user side under stress, on real widgets and a private LAN: hundreds of
// Launch/Cancel at full speed with a box answering at random moments, the
// main dialog closed in every state of an exchange, and statuses that come
// after a Cancel or after the time-out.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QApplication>
#include <QDialog>
#include <QTest>
#include <QTimer>

#include <atomic>
#include <chrono>
#include <memory>
#include <random>
#include <set>

#include "settings/box_settings.h"
#include "tests/dialogs/dialog_harness.h"
#include "tests/net/box_process.h"
#include "tests/net/hostile_peer.h"
#include "ui/control_ids.h"
#include "ui/nestiq_dlg.h"
#include "ui/status_table.h"

namespace {

using namespace std::chrono_literals;

constexpr std::uint16_t kPort = 9999;

// Hears requests on the box's side; for each, calls answer(sender address).
void serveRequests(PeerThread& self, const std::function<void(std::uint32_t)>& answer) {
  const int udp = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  sockaddr_in any{};
  any.sin_family = AF_INET;
  any.sin_port = htons(kPort);
  if (udp < 0 || bind(udp, reinterpret_cast<const sockaddr*>(&any), sizeof any) != 0) {
    ADD_FAILURE() << "the box side cannot hear requests";
    if (udp >= 0) close(udp);
    return;
  }
  self.ready();
  while (!self.stopping()) {
    pollfd p{udp, POLLIN, 0};
    if (poll(&p, 1, 20) != 1) continue;
    char request[2048];
    sockaddr_in from{};
    socklen_t size = sizeof from;
    if (recvfrom(udp, request, sizeof request, 0, reinterpret_cast<sockaddr*>(&from), &size) > 0)
      answer(ntohl(from.sin_addr.s_addr));
  }
  close(udp);
}

class UserStress : public DialogTest {
 protected:
  void SetUp() override {
    DialogTest::SetUp();
    ASSERT_EQ(std::system(NESTIQ_NETNS_DIR "/in-private-netns"), 0) << "must run in a private network namespace";
    box = lanVariable("LAN_BOX");
    ASSERT_FALSE(box.empty()) << "needs the LAN made by with-lan";
    boxIp = QString::fromStdString(lanVariable("LAN_BOX_IP"));
    setHost(lanVariable("LAN_PC_IP").c_str(), "255.255.255.0", lanVariable("LAN_BOX_IP").c_str(), "10.77.0.53");
    descriptorsBefore = openDescriptors();
  }
  static ExchangeSetup quick(std::chrono::milliseconds wait = 200ms, unsigned timeoutMs = 60000) {
    ExchangeSetup s;
    s.timing.answerWait = wait;
    s.timing.receiveLimit = 1000ms;
    s.timeoutMs = timeoutMs;
    return s;
  }
  std::unique_ptr<CNestiqDlg> openDialog(ExchangeSetup setup) {
    auto dlg = std::make_unique<CNestiqDlg>(nullptr, setup);
    makeMainWindow(*dlg);
    EXPECT_TRUE(dlg->Create());
    typeLicence(*dlg, "LIC-STRESS");
    typeAddress(*dlg, IDC_IPADDRESS, boxIp);
    withDialog = openDescriptors();
    std::printf("descriptors: %d before, %d with the dialog\n", descriptorsBefore, withDialog);
    return dlg;
  }
  // Every worker has ended once its sockets are closed. The dialog keeps the
  // latest run (and its waker's pipe, two descriptors) to stop it at the
  // next Launch.
  bool workersEnded(int milliseconds = 5000) {
    return waitFor([&] { return openDescriptors() <= withDialog + 2; }, milliseconds);
  }
  static bool idleLook(CNestiqDlg& dlg) {
    return buttonText(dlg, IDC_LAUNCH) == "Lancer" && control(dlg, IDC_BUSY_ANIMATION)->isHidden() &&
           !dlg.m_animBusy.IsPlaying();
  }

  std::string box;
  QString boxIp;
  int descriptorsBefore = 0;
  int withDialog = 0;
};

// ---- Launch and Cancel at full speed ------------------------------------

TEST_F(UserStress, ThreeHundredLaunchCancelCyclesWithABoxAnsweringAtRandom) {
  const std::uint32_t seed = std::random_device{}();
  SCOPED_TRACE("seed " + std::to_string(seed));
  std::atomic<int> connected{0};
  PeerThread randomBox(box, [&](PeerThread& self) {
    std::mt19937 rng(seed);
    const char* answers[] = {"CONFIG_OK", "CONFIG_BAD_DNS", "CONFIG_BAD_GATEWAY", "CONFIG_BAD_LICENCE",
                             "CONFIG_BAD_FIREWALL", "CONFIG_BAD_USER", "junk", ""};
    serveRequests(self, [&](std::uint32_t pc) {
      self.idle(std::chrono::milliseconds(rng() % 250));
      const int fd = tryConnect(pc, kPort);
      if (fd < 0) return;  // that exchange is over already
      ++connected;
      const unsigned pick = rng() % 10;
      if (pick < 8) sendAll(fd, answers[pick]);
      if (pick == 9)
        closeWithReset(fd);
      else
        close(fd);
    });
  });
  ASSERT_TRUE(randomBox.waitReady());
  // The success dialog is closed as soon as it shows, whenever that is.
  int successes = 0;
  QTimer closer;
  QObject::connect(&closer, &QTimer::timeout, [&] {
    auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (modal && modal->isVisible() && modal->windowTitle() == QString::fromUtf8("Box configurée")) {
      ++successes;
      modal->reject();
    }
  });
  closer.start(5);

  auto dlg = openDialog(quick());
  std::mt19937 rng(seed ^ 0x5eed);
  int launches = 0;
  for (int cycle = 0; cycle < 300; ++cycle) {
    if (BoxSettings.busy) click(*dlg, IDC_LAUNCH);  // a status may have ended the last one
    click(*dlg, IDC_LAUNCH);
    ++launches;
    // Now and then the user waits a little, so that answers land in every phase.
    if (rng() % 16 == 0) waitFor([] { return false; }, static_cast<int>(rng() % 300));
    if (BoxSettings.busy) click(*dlg, IDC_LAUNCH);  // Cancel
    if (rng() % 16 == 0) waitFor([] { return false; }, static_cast<int>(rng() % 300));
  }
  if (BoxSettings.busy) click(*dlg, IDC_LAUNCH);
  ASSERT_TRUE(workersEnded()) << "a worker is still running or leaked a descriptor";
  QTest::qWait(300);  // anything still posted arrives now
  randomBox.stop();

  // Every status shown is one the table knows, and never more than one per Launch.
  std::set<std::string> known;
  for (unsigned code : {20u, 30u, 31u, 32u, 33u, 34u, 35u, 36u})
    if (const auto m = statusMessage(code)) known.insert(m->text);
  int messages = 0;
  for (const auto& shown : boxes.shown) {
    if (!shown.modal) {
      EXPECT_EQ(shown.text, "connection reset");  // the worker's own notice
      continue;
    }
    ++messages;
    EXPECT_TRUE(known.count(shown.text)) << shown.text;
  }
  EXPECT_LE(messages + successes, launches);
  EXPECT_FALSE(BoxSettings.busy);
  EXPECT_TRUE(idleLook(*dlg));
  std::printf("cycles: %d launches, %d box connections, %d messages and %d success dialogs shown\n", launches,
              connected.load(), messages, successes);
  RecordProperty("launches", launches);

  // And the next Launch is answered.
  BoxProcess honest(box, {"--reply", "CONFIG_BAD_GATEWAY", "--count", "1"});
  ASSERT_TRUE(honest.listening()) << honest.problem();
  boxes.shown.clear();
  click(*dlg, IDC_LAUNCH);
  ASSERT_TRUE(waitFor([&] { return !boxes.shown.empty(); }, 8000)) << honest.output();
  EXPECT_EQ(boxes.shown.back().text, "La passerelle par défaut est incorrecte");
  ASSERT_TRUE(waitFor([&] { return idleLook(*dlg); }));
}

// ---- The main dialog closed in every state of an exchange ---------------

// Notices stay open until the test closes them, as a user who looks away.
class HeldNotices final : public wnd::MessageBoxPresenter {
 public:
  int showModal(wnd::Dialog*, const std::string& text, const std::string&) override {
    modal.push_back(text);
    return wnd::IDOK;
  }
  void showModeless(const std::string& text, const std::string&, std::function<void()> closed) override {
    notices.push_back(text);
    open.push_back(std::move(closed));
  }
  void closeAll() {
    for (auto& closed : std::exchange(open, {})) closed();
  }
  std::vector<std::string> modal, notices;
  std::vector<std::function<void()>> open;
};

enum class Peer { None, Silent, Reset };

struct ClosingCase {
  const char* name;
  Peer peer;
  bool portTaken;        // port 9999 held by another program on the PC
  const char* waitFor;   // "", "busy look", "connection", "notice"
};
void PrintTo(const ClosingCase& c, std::ostream* os) { *os << c.name; }

class ClosingTheDialog : public UserStress, public testing::WithParamInterface<ClosingCase> {};

TEST_P(ClosingTheDialog, LeavesNoWorkerBehindAndNothingTouchesItAgain) {
  const ClosingCase& c = GetParam();
  HeldNotices notices;
  wnd::setMessageBoxPresenter(&notices);
  std::atomic<bool> peerConnected{false};
  std::unique_ptr<PeerThread> peer;
  if (c.peer != Peer::None) {
    peer = std::make_unique<PeerThread>(box, [&](PeerThread& self) {
      serveRequests(self, [&](std::uint32_t pc) {
        const int fd = tryConnect(pc, kPort);
        if (fd < 0) return;
        peerConnected = true;
        if (c.peer == Peer::Reset) {
          closeWithReset(fd);
          return;
        }
        // Silent until the worker hangs up.
        pollfd p{fd, POLLIN, 0};
        while (!self.stopping() && poll(&p, 1, 20) == 0) {
        }
        close(fd);
      });
    });
    ASSERT_TRUE(peer->waitReady());
  }
  int holder = -1;
  if (c.portTaken) {
    holder = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const int one = 1;  // past connections may linger on the port; a listener still takes it for good
    setsockopt(holder, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    sockaddr_in any{};
    any.sin_family = AF_INET;
    any.sin_port = htons(kPort);
    ASSERT_EQ(bind(holder, reinterpret_cast<const sockaddr*>(&any), sizeof any), 0);
    ASSERT_EQ(listen(holder, 1), 0);
  }
  const int baseline = openDescriptors();

  ExchangeSetup setup = quick(2000ms);
  setup.timing.receiveLimit = 5000ms;
  auto dlg = openDialog(setup);
  click(*dlg, IDC_LAUNCH);
  const std::string moment = c.waitFor;
  if (moment == "busy look") {
    ASSERT_TRUE(waitFor([&] { return dlg->m_animBusy.IsPlaying(); }));
  }
  if (moment == "connection") {
    ASSERT_TRUE(waitFor([&] { return peerConnected.load(); }));
    QTest::qWait(100);  // the worker is inside its receive
  }
  if (moment == "notice") {
    ASSERT_TRUE(waitFor([&] { return !notices.notices.empty(); }));
  }

  dlg.reset();  // the main dialog goes, the worker is cut off
  // The user closes a notice that outlived the dialog; its worker goes on and ends.
  QTest::qWait(50);
  notices.closeAll();
  EXPECT_TRUE(waitFor([&] { return openDescriptors() == baseline; }, 3000))
      << "the worker did not end, or left a descriptor open";
  QTest::qWait(200);
  EXPECT_TRUE(notices.modal.empty()) << "a status reached a dialog that is gone: " << notices.modal.front();
  wnd::setMessageBoxPresenter(&boxes);
  if (peer) peer->stop();
  if (holder >= 0) close(holder);
}

INSTANTIATE_TEST_SUITE_P(
    States, ClosingTheDialog,
    testing::Values(ClosingCase{"before_the_busy_look", Peer::None, false, ""},
                    ClosingCase{"during_a_wait", Peer::None, false, "busy look"},
                    ClosingCase{"during_a_receive", Peer::Silent, false, "connection"},
                    ClosingCase{"while_connection_reset_is_open", Peer::Reset, false, "notice"},
                    ClosingCase{"while_a_set_up_notice_is_open", Peer::None, true, "notice"}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- Statuses that come late --------------------------------------------

TEST_F(UserStress, AnAnswerAfterCancelWithinTheLastWaitIsShownOnce) {
  BoxProcess late(box, {"--reply", "CONFIG_BAD_DNS", "--delay", "400", "--count", "1"});
  ASSERT_TRUE(late.listening()) << late.problem();
  auto dlg = openDialog(quick(1500ms));
  click(*dlg, IDC_LAUNCH);
  ASSERT_TRUE(waitFor([&] { return dlg->m_animBusy.IsPlaying(); }));
  click(*dlg, IDC_LAUNCH);  // Cancel, before the box answers
  EXPECT_TRUE(idleLook(*dlg));
  ASSERT_TRUE(waitFor([&] { return !boxes.shown.empty(); }, 4000)) << late.output();
  EXPECT_EQ(boxes.shown[0].text, "Le Serveur DNS est incorrect");
  ASSERT_TRUE(workersEnded());
  EXPECT_EQ(boxes.shown.size(), 1u);
  EXPECT_FALSE(BoxSettings.busy);
  EXPECT_TRUE(idleLook(*dlg));
}

TEST_F(UserStress, AnAnswerAfterTheTimeOutShowsBothInTurn) {
  BoxProcess late(box, {"--reply", "CONFIG_BAD_LICENCE", "--delay", "700", "--count", "1"});
  ASSERT_TRUE(late.listening()) << late.problem();
  auto dlg = openDialog(quick(1500ms, 300));
  click(*dlg, IDC_LAUNCH);
  ASSERT_TRUE(waitFor([&] { return boxes.shown.size() == 2; }, 4000)) << late.output();
  EXPECT_EQ(boxes.shown[0].caption, "nestiq");  // the time-out
  EXPECT_EQ(boxes.shown[1].text, "La licence est incorrecte");
  ASSERT_TRUE(workersEnded());
  EXPECT_EQ(boxes.shown.size(), 2u);
  EXPECT_FALSE(BoxSettings.busy);
  EXPECT_TRUE(idleLook(*dlg));
}

}  // namespace
