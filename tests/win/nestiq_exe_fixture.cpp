#include "tests/win/nestiq_exe_fixture.h"

#include <cwchar>

std::wstring windowsPath(const std::wstring& path) {
  if (path.empty() || path[0] != L'/') return path;
  std::wstring dos = L"Z:" + path;
  for (wchar_t& c : dos)
    if (c == L'/') c = L'\\';
  return dos;
}

namespace {

// NESTIQ_EXE names the program under test.
std::wstring programPath() {
  const wchar_t* named = _wgetenv(L"NESTIQ_EXE");
  return windowsPath(named ? named : L"nestiq.exe");
}

}  // namespace

void NestiqExe::SetUp() {
  host_ = askIpHelper();
  program_ = std::make_unique<probe::Program>(programPath());
  ASSERT_TRUE(program_->started()) << "cannot start " << probe::utf8(programPath());
  // A failed query gives its notice before the dialog, parameters first.
  if (!host_.networkParamsOk) {
    wchar_t code[16];
    std::swprintf(code, 16, L"%08lx ", host_.networkParamsError);
    const std::wstring text = answerBox(L"Arkelune");
    EXPECT_EQ(text.rfind(L"Call to GetNetworkParams failed. Return Value: " + std::wstring(code), 0), 0u)
        << probe::utf8(text);
  }
  if (!host_.adaptersOk) {
    EXPECT_EQ(answerBox(L"Arkelune"), L"Call to GetAdaptersInfo failed.");
  }
  main_ = probe::waitDialog(pid(), kMainTitle);
  ASSERT_NE(main_, nullptr) << "no main dialog";
}

void NestiqExe::TearDown() {
  if (!program_ || !program_->started()) return;
  DWORD code = 0;
  if (!program_->waitExit(0, code) && main_) PostMessageW(main_, WM_CLOSE, 0, 0);
  EXPECT_TRUE(program_->waitExit(10000, code)) << "the program did not end with its dialog";
}

std::wstring NestiqExe::answerBox(const std::wstring& caption, DWORD milliseconds) {
  HWND box = probe::waitDialog(pid(), caption, milliseconds);
  if (!box) {
    ADD_FAILURE() << "no message box \"" << probe::utf8(caption) << "\"";
    return L"";
  }
  const std::wstring text = probe::messageText(box);
  probe::click(box, IDOK);
  EXPECT_TRUE(probe::waitUntil([&] { return !IsWindow(box) || !IsWindowVisible(box); })) << "box stays open";
  return text;
}

std::uint32_t NestiqExe::validBoxAddress() const {
  const std::uint32_t network = hostValue() & maskValue();
  for (std::uint32_t candidate : {network | 1u, network | 2u, 0x0A000005u})
    if (candidate != hostValue() && (candidate & maskValue()) != candidate) return candidate;
  return 0x0A000006u;
}
