// Start-up of nestiq.exe against a bare Win32 dialog built the same way, under
// Wine (bench/windows/run starts it through tests/win/wine-run on a private
// LAN, so that nestiq.exe's host query finds a network as on a user's PC):
//   - time from CreateProcess to the first visible top-level window of the
//     new process, which must be the program's dialog (a notice first means
//     the start was not the normal one, and the run fails);
//   - the size of each program file.
// The programs start in turn, after one unmeasured start each to warm the
// caches; medians and the ratio come from this run alone.
//
//   windows_startup_bench [--runs N] [--settle-ms MS] [--tsv FILE] NESTIQ_EXE BARE_DIALOG_EXE
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

struct Program {
  const char* label;
  std::wstring path;
  std::wstring title;  // of the window that must show first
};

struct Shown {
  HWND window = nullptr;
  std::wstring title;
};

[[noreturn]] void fail(const std::string& why) {
  std::fprintf(stderr, "windows_startup_bench: %s\n", why.c_str());
  std::exit(1);
}

std::string utf8(const std::wstring& text) {
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(size > 0 ? size : 1), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, out.data(), size, nullptr, nullptr);
  out.resize(out.size() - 1);
  return out;
}

// A Linux path as Wine shows it, through drive Z:.
std::wstring windowsPath(std::wstring path) {
  if (path.empty() || path[0] != L'/') return path;
  std::replace(path.begin(), path.end(), L'/', L'\\');
  return L"Z:" + path;
}

double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  const std::size_t n = v.size();
  return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

double nowMillis() {
  static const double perMilli = [] {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(frequency.QuadPart) / 1000.0;
  }();
  LARGE_INTEGER counter;
  QueryPerformanceCounter(&counter);
  return static_cast<double>(counter.QuadPart) / perMilli;
}

std::wstring windowText(HWND window) {
  wchar_t text[256] = L"";
  GetWindowTextW(window, text, 256);
  return text;
}

struct Search {
  DWORD processId;
  Shown found;
};

BOOL CALLBACK visibleOfProcess(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<Search*>(param);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != search->processId || !IsWindowVisible(window)) return TRUE;
  search->found = {window, windowText(window)};
  return FALSE;
}

// The first visible top-level window of the process, watched for every
// millisecond; none when the process ends or the limit passes first.
Shown waitShown(const PROCESS_INFORMATION& process, DWORD limitMillis) {
  const double start = nowMillis();
  for (;;) {
    Search search{process.dwProcessId, {}};
    EnumWindows(visibleOfProcess, reinterpret_cast<LPARAM>(&search));
    if (search.found.window) return search.found;
    if (WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0) return {};
    if (nowMillis() - start > limitMillis) return {};
    Sleep(1);
  }
}

// Milliseconds from CreateProcess to the program's dialog, shown.
double measure(const Program& program, DWORD settleMillis) {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  std::wstring commandLine = L"\"" + program.path + L"\"";
  const double start = nowMillis();
  if (!CreateProcessW(program.path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process))
    fail("cannot start " + utf8(program.path) + " (error " + std::to_string(GetLastError()) + ")");
  const Shown shown = waitShown(process, 20000);
  const double millis = nowMillis() - start;

  if (shown.window) {
    Sleep(settleMillis);
    PostMessageW(shown.window, WM_CLOSE, 0, 0);
  }
  const bool ended = WaitForSingleObject(process.hProcess, 10000) == WAIT_OBJECT_0;
  if (!ended) TerminateProcess(process.hProcess, 1);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);

  if (!shown.window) fail(std::string(program.label) + " showed no window within 20 s");
  if (shown.title != program.title)
    fail(std::string(program.label) + " showed \"" + utf8(shown.title) + "\" first, not \"" + utf8(program.title) +
         "\" (on a network without adapters or DNS nestiq.exe gives a notice first: run it on a private LAN)");
  if (!ended) fail(std::string(program.label) + " did not end when its dialog was closed");
  return millis;
}

double fileBytes(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) fail("cannot read " + utf8(path));
  return static_cast<double>((static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow);
}

void usage() {
  std::fprintf(stderr,
               "usage: windows_startup_bench [--runs N] [--settle-ms MS] [--tsv FILE] NESTIQ_EXE BARE_DIALOG_EXE\n"
               "  N: measured starts of each program, in turn (default 15)\n"
               "  MS: time each dialog stays up before WM_CLOSE (default 300)\n"
               "  FILE: also write the figures as tab-separated rows\n"
               "Paths may be Linux paths (read through drive Z:).\n");
  std::exit(2);
}

}  // namespace

int main() {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  int runs = 15;
  int settleMs = 300;
  std::wstring tsv;
  std::vector<std::wstring> paths;
  for (int i = 1; i < argc; ++i) {
    const std::wstring arg = argv[i];
    if (arg == L"--runs" && i + 1 < argc)
      runs = _wtoi(argv[++i]);
    else if (arg == L"--settle-ms" && i + 1 < argc)
      settleMs = _wtoi(argv[++i]);
    else if (arg == L"--tsv" && i + 1 < argc)
      tsv = windowsPath(argv[++i]);
    else if (arg.rfind(L"--", 0) == 0)
      usage();
    else
      paths.push_back(windowsPath(arg));
  }
  LocalFree(argv);
  if (paths.size() != 2 || runs < 1 || settleMs < 0) usage();

  const Program programs[2] = {{"nestiq.exe", paths[0], L"Param\u00e9trages Box"},
                               {"bare dialog", paths[1], L"Dialogue de r\u00e9f\u00e9rence"}};
  std::vector<double> millis[2];
  for (int run = -1; run < runs; ++run) {
    for (int p = 0; p < 2; ++p) {
      const double ms = measure(programs[p], static_cast<DWORD>(settleMs));
      if (run >= 0) millis[p].push_back(ms);  // the first is a warm-up
    }
  }

  double shown[2], bytes[2];
  std::printf("Start to dialog shown under Wine, %d starts each, in turn:\n", runs);
  for (int p = 0; p < 2; ++p) {
    shown[p] = median(millis[p]);
    bytes[p] = fileBytes(programs[p].path);
    std::printf("  %-12s median %7.1f ms  (min %.1f, max %.1f)   file %.0f KiB\n", programs[p].label, shown[p],
                *std::min_element(millis[p].begin(), millis[p].end()),
                *std::max_element(millis[p].begin(), millis[p].end()), bytes[p] / 1024);
  }
  const double timeRatio = shown[0] / shown[1];
  constexpr double kSizeTarget = 2e6;  // bytes
  std::printf("  ratio %.2fx (target at most 1.3x); nestiq.exe is %.2f MB (target under 2 MB)\n", timeRatio,
              bytes[0] / 1e6);

  if (!tsv.empty()) {
    FILE* out = _wfopen(tsv.c_str(), L"w");
    if (!out) fail("cannot write " + utf8(tsv));
    std::fprintf(out, "nestiq.exe size\t%.2f MB\t2 MB (target)\t%.2fx\t< 1x\n", bytes[0] / 1e6,
                 bytes[0] / kSizeTarget);
    std::fprintf(out, "start to dialog shown, Wine\t%.1f ms\t%.1f ms (bare Win32 dialog)\t%.2fx\t<= 1.3x\n", shown[0],
                 shown[1], timeRatio);
    std::fclose(out);
  }
  return 0;
}
