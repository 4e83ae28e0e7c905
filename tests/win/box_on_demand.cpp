#include "tests/win/box_on_demand.h"

#include <fstream>
#include <iterator>

#include "tests/win/nestiq_exe_fixture.h"
#include "tests/win/window_probe.h"

bool BoxOnDemand::available() { return _wgetenv(L"NESTIQ_BOX_CONTROL") != nullptr; }

std::wstring BoxOnDemand::file(const wchar_t* name) {
  const wchar_t* folder = _wgetenv(L"NESTIQ_BOX_CONTROL");
  return windowsPath(std::wstring(folder ? folder : L".") + L"/" + name);
}

bool BoxOnDemand::start(const std::string& options, DWORD milliseconds) {
  DeleteFileW(file(L"ready").c_str());
  const std::wstring staged = file(L"request.new");
  {
    std::ofstream out(staged.c_str(), std::ios::binary | std::ios::trunc);
    out << options;
    if (!out) return false;
  }
  // Whole or not at all: the helper reads it as soon as it appears.
  if (!MoveFileExW(staged.c_str(), file(L"request").c_str(), MOVEFILE_REPLACE_EXISTING)) return false;
  return probe::waitUntil([&] { return GetFileAttributesW(file(L"ready").c_str()) != INVALID_FILE_ATTRIBUTES; },
                          milliseconds);
}

bool BoxOnDemand::waitRecord(std::string& bytes, DWORD milliseconds) {
  return probe::waitUntil(
      [&] {
        std::ifstream in(file(L"record").c_str(), std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        return !bytes.empty();
      },
      milliseconds);
}
