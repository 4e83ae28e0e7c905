// nestiq.exe as a user meets it under Wine: started as a program, driven
// through its windows only. Each test starts a fresh copy. Where the host
// has an adapter (a private LAN), the address rules meet its real network.
#include <winsock2.h>

#include <functional>
#include <vector>

#include "tests/win/nestiq_exe_fixture.h"

namespace {

const std::array<std::wstring, 4> kBlank{L"", L"", L"", L""};

TEST_F(NestiqExe, OpensFilledFromTheHostWithTheLicenceFocused) {
  EXPECT_EQ(probe::text(main_), kMainTitle);
  EXPECT_EQ(probe::controlText(main_, IDC_LAUNCH), L"Lancer");
  EXPECT_EQ(probe::controlText(main_, IDC_VERSION), L"V 3.2");
  EXPECT_EQ(probe::controlText(main_, IDC_LICENCE), L"");
  EXPECT_FALSE(probe::controlVisible(main_, IDC_BUSY_ANIMATION));
  EXPECT_TRUE(probe::waitUntil([&] { return probe::focusedControl(main_) == IDC_LICENCE; }, 3000))
      << "focus on " << probe::focusedControl(main_);

  // The box address starts as the host's network; every input is filled, 0.0.0.0 included.
  EXPECT_EQ(probe::addressFields(main_, IDC_IPADDRESS), fieldTexts(hostValue() & maskValue()));
  EXPECT_EQ(probe::addressFields(main_, IDC_MASK), fieldTexts(maskValue()));
  EXPECT_EQ(probe::addressFields(main_, IDC_GATEWAY), fieldTexts(addressValue(host_.gateway)));
  EXPECT_EQ(probe::addressFields(main_, IDC_DNS), fieldTexts(addressValue(host_.dns)));
}

TEST_F(NestiqExe, EachLaunchRuleShowsItsMessageAndFocusesItsInput) {
  struct Rule {
    const char* name;
    std::function<void()> breakForm;
    std::wstring message;
    int focus;
  };
  const auto blankInput = [&](int id) {
    return [this, id] {
      probe::setAddressFields(main_, id, kBlank);
    };
  };
  const auto restoreInput = [&](int id, std::uint32_t value) { probe::setAddressFields(main_, id, fieldTexts(value)); };
  std::vector<Rule> rules = {
      {"licence", [] {}, L"Vous devez entrer un # de licence", IDC_LICENCE},
      {"box address", [&] {
         probe::setControlText(main_, IDC_LICENCE, L"L1C3NCE");
         blankInput(IDC_IPADDRESS)();
       }, L"Vous devez entrer une adresse IP", IDC_IPADDRESS},
      {"mask", [&] {
         restoreInput(IDC_IPADDRESS, validBoxAddress());
         blankInput(IDC_MASK)();
       }, L"Vous devez entrer un masque de sous-r\u00e9seau", IDC_MASK},
      {"gateway", [&] {
         restoreInput(IDC_MASK, maskValue());
         blankInput(IDC_GATEWAY)();
       }, L"Vous devez entrer une Passerelle par d\u00e9faut", IDC_GATEWAY},
      {"dns", [&] {
         restoreInput(IDC_GATEWAY, addressValue(host_.gateway));
         blankInput(IDC_DNS)();
       }, L"Vous devez entrer un Serveur DNS", IDC_DNS},
      {"host's own address", [&] {
         restoreInput(IDC_DNS, addressValue(host_.dns));
         restoreInput(IDC_IPADDRESS, hostValue());
       }, L"Vous devez entrer une adresse IP valide pour la Box\n\t(autre que celle de votre machine)", IDC_IPADDRESS},
  };
  // Only a host with a mask has a network address other than its own.
  if ((hostValue() & maskValue()) != hostValue())
    rules.push_back({"network address", [&] { restoreInput(IDC_IPADDRESS, hostValue() & maskValue()); },
                     L"Vous devez entrer une adresse IP valide pour la Box\n", IDC_IPADDRESS});

  for (const Rule& rule : rules) {
    SCOPED_TRACE(rule.name);
    rule.breakForm();
    probe::click(main_, IDC_LAUNCH);
    EXPECT_EQ(answerBox(L"Erreur"), rule.message);
    EXPECT_TRUE(probe::waitUntil([&] { return probe::focusedControl(main_) == rule.focus; }, 3000))
        << "focus on " << probe::focusedControl(main_);
    EXPECT_EQ(probe::controlText(main_, IDC_LAUNCH), L"Lancer");
  }
}

TEST_F(NestiqExe, LaunchPlaysTheClipOverTheButtonAndASecondPressCancels) {
  probe::setControlText(main_, IDC_LICENCE, L"L1C3NCE");
  probe::setAddressFields(main_, IDC_IPADDRESS, fieldTexts(validBoxAddress()));
  probe::click(main_, IDC_LAUNCH);
  EXPECT_TRUE(probe::waitUntil([&] {
    return probe::controlText(main_, IDC_LAUNCH).empty() && probe::controlVisible(main_, IDC_BUSY_ANIMATION);
  })) << "no busy look";

  probe::click(main_, IDC_LAUNCH);
  EXPECT_TRUE(probe::waitUntil([&] {
    return probe::controlText(main_, IDC_LAUNCH) == L"Lancer" && !probe::controlVisible(main_, IDC_BUSY_ANIMATION);
  })) << "not back to idle";
}

TEST_F(NestiqExe, LaunchRightAfterCancelTakesOverAtOnce) {
  probe::setControlText(main_, IDC_LICENCE, L"L1C3NCE");
  probe::setAddressFields(main_, IDC_IPADDRESS, fieldTexts(validBoxAddress()));
  const auto busy = [&] { return probe::controlText(main_, IDC_LAUNCH).empty(); };
  probe::click(main_, IDC_LAUNCH);
  ASSERT_TRUE(probe::waitUntil(busy));
  probe::click(main_, IDC_LAUNCH);
  ASSERT_TRUE(probe::waitUntil([&] { return !busy(); }));
  // The cancelled worker is still in its 10 s wait: the new Launch wakes it
  // and takes port 9999 over without a notice and without a pause.
  probe::click(main_, IDC_LAUNCH);
  EXPECT_TRUE(probe::waitUntil(busy, 1000)) << "the second Launch waited for the first worker";
  EXPECT_EQ(probe::waitDialog(pid(), L"Tamrel", 1500), nullptr) << "the new worker could not take the port";
}

TEST_F(NestiqExe, WorkerNoticeLeavesTheDialogUsable) {
  // Port 9999 held, exclusively, by another program: the listener cannot bind.
  WSADATA data;
  ASSERT_EQ(WSAStartup(MAKEWORD(2, 2), &data), 0);
  SOCKET holder = socket(AF_INET, SOCK_STREAM, 0);
  const BOOL on = TRUE;
  setsockopt(holder, SOL_SOCKET, SO_EXCLUSIVEADDRUSE, reinterpret_cast<const char*>(&on), sizeof on);
  sockaddr_in any{};
  any.sin_family = AF_INET;
  any.sin_port = htons(9999);
  ASSERT_EQ(bind(holder, reinterpret_cast<const sockaddr*>(&any), sizeof any), 0);
  ASSERT_EQ(listen(holder, 1), 0);

  probe::setControlText(main_, IDC_LICENCE, L"L1C3NCE");
  probe::setAddressFields(main_, IDC_IPADDRESS, fieldTexts(validBoxAddress()));
  probe::click(main_, IDC_LAUNCH);
  HWND notice = probe::waitDialog(pid(), L"Tamrel");
  ASSERT_NE(notice, nullptr) << "no notice";
  EXPECT_EQ(probe::messageText(notice), L"Pas pu bind");
  // Ownerless and not modal to the dialog: the blank button still cancels.
  EXPECT_EQ(GetWindow(notice, GW_OWNER), nullptr);
  EXPECT_TRUE(IsWindowEnabled(main_));
  EXPECT_TRUE(probe::controlText(main_, IDC_LAUNCH).empty());
  EXPECT_TRUE(probe::controlVisible(main_, IDC_BUSY_ANIMATION));
  probe::click(main_, IDC_LAUNCH);
  EXPECT_TRUE(probe::waitUntil([&] { return probe::controlText(main_, IDC_LAUNCH) == L"Lancer"; }));
  probe::click(notice, IDOK);
  EXPECT_TRUE(probe::waitNoDialog(pid(), L"Tamrel"));

  closesocket(holder);
  WSACleanup();
}

TEST_F(NestiqExe, AboutBoxFromTheButtonAndTheSystemMenuBlocksTheMainDialog) {
  struct Opener {
    const char* name;
    std::function<void()> open;
  };
  const Opener openers[] = {
      {"button", [&] { probe::click(main_, IDC_VERSION); }},
      {"command 16", [&] { PostMessageW(main_, WM_SYSCOMMAND, IDM_ABOUTBOX, 0); }},
      {"command 31", [&] { PostMessageW(main_, WM_SYSCOMMAND, 31, 0); }},
  };
  for (const Opener& opener : openers) {
    SCOPED_TRACE(opener.name);
    opener.open();
    HWND about = probe::waitDialog(pid(), kAboutTitle);
    ASSERT_NE(about, nullptr);
    EXPECT_FALSE(IsWindowEnabled(main_));
    PostMessageW(about, WM_CLOSE, 0, 0);
    EXPECT_TRUE(probe::waitNoDialog(pid(), kAboutTitle));
    EXPECT_TRUE(probe::waitUntil([&] { return IsWindowEnabled(main_) != FALSE; }));
  }
  // The next command is the window's own business, not the About box.
  PostMessageW(main_, WM_SYSCOMMAND, 32, 0);
  EXPECT_EQ(probe::waitDialog(pid(), kAboutTitle, 700), nullptr);
}

struct ClosePath {
  const char* name;
  void (*close)(HWND main);
};

class ClosingNestiqExe : public NestiqExe, public testing::WithParamInterface<ClosePath> {};

TEST_P(ClosingNestiqExe, EndsTheProgram) {
  GetParam().close(main_);
  DWORD code = 1;
  ASSERT_TRUE(program_->waitExit(10000, code)) << "still running";
  main_ = nullptr;
}

void pressEscape(HWND main) {
  // To the focused control, as a keyboard would; the dialog manager turns it into Cancel.
  HWND licence = GetDlgItem(main, IDC_LICENCE);
  PostMessageW(licence, WM_KEYDOWN, VK_ESCAPE, 1);
  PostMessageW(licence, WM_KEYUP, VK_ESCAPE, 0xC0000001);
}

TEST_F(NestiqExe, EndsAtOnceWhileAnExchangeRuns) {
  probe::setControlText(main_, IDC_LICENCE, L"L1C3NCE");
  probe::setAddressFields(main_, IDC_IPADDRESS, fieldTexts(validBoxAddress()));
  probe::click(main_, IDC_LAUNCH);
  ASSERT_TRUE(probe::waitUntil([&] { return probe::controlText(main_, IDC_LAUNCH).empty(); }));
  pressEscape(main_);
  DWORD code = 1;
  EXPECT_TRUE(program_->waitExit(2000, code)) << "the program waited for its worker";
  EXPECT_EQ(probe::waitDialog(pid(), L"nestiq", 300), nullptr) << "a status was shown";
  main_ = nullptr;
}

INSTANTIATE_TEST_SUITE_P(Paths, ClosingNestiqExe,
                         testing::Values(ClosePath{"Escape", pressEscape},
                                         ClosePath{"CloseMessage",
                                                   [](HWND main) { PostMessageW(main, WM_CLOSE, 0, 0); }},
                                         ClosePath{"SystemMenuClose",
                                                   [](HWND main) { PostMessageW(main, WM_SYSCOMMAND, SC_CLOSE, 0); }}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
