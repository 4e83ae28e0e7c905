// The whole exchange under Wine on a private LAN: nestiq.exe and its
// wineserver in the pc namespace, nestiq-box answering from the box
// namespace. Skipped outside a run made by lan-check.
#include <fstream>
#include <iterator>

#include "tests/win/box_on_demand.h"
#include "tests/win/nestiq_exe_fixture.h"

namespace {

const wchar_t* kDesktop = L"C:\\nestiq-desktop";

std::string environment(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

std::wstring wide(const std::string& ascii) { return std::wstring(ascii.begin(), ascii.end()); }

std::string readFile(const std::wstring& path) {
  std::ifstream in(path.c_str(), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Where the program finds the desktop: the per-user Shell Folders value.
void useDesktopFolder(const wchar_t* folder) {
  CreateDirectoryW(folder, nullptr);
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
                            0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  const DWORD size = static_cast<DWORD>((wcslen(folder) + 1) * sizeof(wchar_t));
  RegSetValueExW(key, L"Desktop", 0, REG_SZ, reinterpret_cast<const BYTE*>(folder), size);
  RegCloseKey(key);
}

std::wstring joined(const std::array<std::wstring, 4>& fields) {
  return fields[0] + L"." + fields[1] + L"." + fields[2] + L"." + fields[3];
}

class NestiqExeOnLan : public NestiqExe {
 protected:
  void SetUp() override {
    if (!BoxOnDemand::available()) GTEST_SKIP() << "needs a private LAN with a box (tests/win/lan-check)";
    useDesktopFolder(kDesktop);
    NestiqExe::SetUp();
  }

  // The licence and the box's address; the rest stays as pre-filled.
  void fillForm(const std::wstring& licence) {
    probe::setControlText(main_, IDC_LICENCE, licence);
    probe::setAddressFields(main_, IDC_IPADDRESS, fieldTexts(addressValue(environment("LAN_BOX_IP"))));
  }

  bool backToIdle() {
    return probe::waitUntil([&] { return probe::controlText(main_, IDC_LAUNCH) == L"Lancer"; }, 15000);
  }

  BoxOnDemand box_;
};

TEST_F(NestiqExeOnLan, DiscoversThePcSideOfTheLan) {
  // Wine answers from wineserver's namespace: the pc's veth, its route, its resolver.
  EXPECT_EQ(host_.hostIp, environment("LAN_PC_IP"));
  EXPECT_EQ(host_.mask, "255.255.255.0");
  EXPECT_EQ(host_.gateway, environment("LAN_BOX_IP"));
  EXPECT_EQ(host_.dns, environment("NESTIQ_LAN_DNS"));
  EXPECT_EQ(probe::addressFields(main_, IDC_IPADDRESS), fieldTexts(hostValue() & maskValue()));
}

TEST_F(NestiqExeOnLan, ConfiguredBoxGetsTheLineAndTheShortcutLandsOnTheDesktop) {
  const std::wstring shortcut = std::wstring(kDesktop) + L"\\BOX.url";
  {
    std::ofstream stale(shortcut.c_str(), std::ios::binary | std::ios::trunc);
    stale << "an older and much longer shortcut that the new one must replace entirely\r\n";
  }
  ASSERT_TRUE(box_.start("--reply CONFIG_OK"));
  // Typed in UTF-16; sent as Windows-1252, with "?" for what it lacks.
  fillForm(L"Caf\u00e9-\u03a9");
  probe::click(main_, IDC_LAUNCH);

  const std::string boxIp = environment("LAN_BOX_IP");
  std::string datagram;
  ASSERT_TRUE(box_.waitRecord(datagram)) << "no request reached the box";
  EXPECT_EQ(datagram, "config Caf\xe9-? " + boxIp + " " + probe::utf8(joined(probe::addressFields(main_, IDC_MASK))) +
                          " " + probe::utf8(joined(probe::addressFields(main_, IDC_GATEWAY))) + " " +
                          probe::utf8(joined(probe::addressFields(main_, IDC_DNS))));

  HWND configured = probe::waitDialog(pid(), kConfiguredTitle);
  ASSERT_NE(configured, nullptr) << "no success dialog";
  EXPECT_EQ(probe::controlText(configured, IDC_SUMMARY),
            L"La Box Caf\u00e9-? a \u00e9t\u00e9 configur\u00e9e :\nIP : " + wide(boxIp) + L"\nMasque : 255.255.255.0");
  EXPECT_FALSE(probe::checked(configured, IDC_ADD_SHORTCUT));
  EXPECT_FALSE(probe::checked(configured, IDC_OPEN_ADMIN));
  probe::click(configured, IDC_ADD_SHORTCUT);
  ASSERT_TRUE(probe::waitUntil([&] { return probe::checked(configured, IDC_ADD_SHORTCUT); }));
  probe::click(configured, IDOK);
  EXPECT_TRUE(probe::waitNoDialog(pid(), kConfiguredTitle));

  // Text mode: CR LF line ends; the older file is gone.
  const std::string expected = "[DEFAULT]\r\nBASEURL=http://" + boxIp + "/\r\n[InternetShortcut]\r\nURL=http://" + boxIp +
                               "/\r\n";
  std::string written;
  EXPECT_TRUE(probe::waitUntil([&] { return (written = readFile(shortcut)) == expected; }, 5000)) << written;
  EXPECT_TRUE(backToIdle());
}

struct Verdict {
  const char* name;
  const char* boxOptions;
  std::wstring message;
  std::wstring caption;  // "" for the application's name
};

class VerdictOnLan : public NestiqExeOnLan, public testing::WithParamInterface<Verdict> {};

TEST_P(VerdictOnLan, IsShownUnderItsCaption) {
  const Verdict& v = GetParam();
  ASSERT_TRUE(box_.start(v.boxOptions));
  fillForm(L"L1C3NCE");
  probe::click(main_, IDC_LAUNCH);
  // The application's name is the executable's file name. A silent box
  // holds the receive for its whole 10 s bound.
  EXPECT_EQ(answerBox(v.caption.empty() ? L"nestiq" : v.caption, 20000), v.message);
  EXPECT_TRUE(backToIdle());
}

const std::wstring kRejected = L"Erreur de parametrage\n(V\u00e9rifiez que votre licence KQV est correcte)";

INSTANTIATE_TEST_SUITE_P(
    Replies, VerdictOnLan,
    testing::Values(
        Verdict{"BadDns", "--reply CONFIG_BAD_DNS", L"Le Serveur DNS est incorrect", L"Erreur"},
        Verdict{"BadGateway", "--reply CONFIG_BAD_GATEWAY", L"La passerelle par d\u00e9faut est incorrecte", L"Erreur"},
        Verdict{"BadLicence", "--reply CONFIG_BAD_LICENCE", L"La licence est incorrecte", L"Erreur"},
        Verdict{"Firewall", "--reply CONFIG_BAD_FIREWALL",
                L"Votre routeur/firewall ne laisse pas sortir KQV.\nVeuillez contacter votre administrateur "
                L"r\u00e9seau\nen lui demandant de permettre l'acc\u00e9s \nau port 6666 en sortie vers internet.",
                L"Erreur"},
        Verdict{"BadUser", "--reply CONFIG_BAD_USER",
                L"La box ne sait pas s'authentifier avec le Keldrun\nSi vous voyez ce message, veuillez "
                L"contacter\nla hotline Quenorix au 00 11 22 33 44",
                L""},
        Verdict{"UnknownWord", "--reply-bytes CONFIG_MAYBE", kRejected, L"Erreur"},
        Verdict{"ClosedWithoutAWord", "--close", kRejected, L"Erreur"},
        Verdict{"SilentAfterConnecting", "--silent", kRejected, L"Erreur"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
