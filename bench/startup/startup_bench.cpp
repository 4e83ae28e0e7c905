// Start-up of nestiq against a bare Qt dialog, on the X display in DISPLAY
// (an Xvfb of its own; started by ../run):
//   - time from fork() to the first Expose of the program's top-level window;
//   - peak memory (ru_maxrss from wait4) once the window is up.
// The two programs are started in turn, after one unmeasured start each to
// warm the caches; medians and ratios come from this run alone.
//
//   startup_bench [--runs N] [--settle-ms MS] [--tsv FILE] NESTIQ BARE_DIALOG
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using Millis = std::chrono::duration<double, std::milli>;

constexpr auto kStartTimeout = std::chrono::seconds(20);

struct Program {
  const char* label;
  std::string path;
  const char* title;  // of the window that must come up first
};

struct Start {
  double millis = 0;
  double exposeAfterMapMillis = 0;
  double peakKib = 0;
  double cpuMillis = 0;  // user + system, over the whole life
  bool byMapNotify = false;  // Expose came before we could watch for it
  std::string title;
};

[[noreturn]] void fail(const std::string& why) {
  std::fprintf(stderr, "startup_bench: %s\n", why.c_str());
  std::exit(1);
}

double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  const std::size_t n = v.size();
  return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

template <typename T>
using Reply = std::unique_ptr<T, decltype(&std::free)>;

class Display {
 public:
  Display() {
    connection_ = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection_)) fail("cannot open the X display in DISPLAY");
    // Started programs make their own connection.
    fcntl(xcb_get_file_descriptor(connection_), F_SETFD, FD_CLOEXEC);
    root_ = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;
    const std::uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    check(xcb_change_window_attributes_checked(connection_, root_, XCB_CW_EVENT_MASK, &mask),
          "cannot watch the root window");
    netWmName_ = atom("_NET_WM_NAME");
  }
  ~Display() { xcb_disconnect(connection_); }
  Display(const Display&) = delete;
  Display& operator=(const Display&) = delete;

  xcb_connection_t* connection() const { return connection_; }
  xcb_window_t root() const { return root_; }

  // Watches a new top-level window for its paint. False when it was already
  // mapped by the time the server took our request (its first Expose may be
  // gone).
  bool watch(xcb_window_t window) {
    const std::uint32_t mask = XCB_EVENT_MASK_EXPOSURE | XCB_EVENT_MASK_STRUCTURE_NOTIFY;
    xcb_change_window_attributes(connection_, window, XCB_CW_EVENT_MASK, &mask);
    Reply<xcb_get_window_attributes_reply_t> attributes(
        xcb_get_window_attributes_reply(connection_, xcb_get_window_attributes(connection_, window), nullptr),
        &std::free);
    return attributes && attributes->map_state == XCB_MAP_STATE_UNMAPPED;
  }

  std::string title(xcb_window_t window) {
    std::string name = property(window, netWmName_);
    return name.empty() ? property(window, XCB_ATOM_WM_NAME) : name;
  }

 private:
  void check(xcb_void_cookie_t cookie, const char* what) {
    if (xcb_generic_error_t* error = xcb_request_check(connection_, cookie)) {
      std::free(error);
      fail(what);
    }
  }
  xcb_atom_t atom(const char* name) {
    Reply<xcb_intern_atom_reply_t> reply(
        xcb_intern_atom_reply(connection_,
                              xcb_intern_atom(connection_, 0, static_cast<std::uint16_t>(std::strlen(name)), name),
                              nullptr),
        &std::free);
    return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
  }
  std::string property(xcb_window_t window, xcb_atom_t name) {
    Reply<xcb_get_property_reply_t> reply(
        xcb_get_property_reply(connection_,
                               xcb_get_property(connection_, 0, window, name, XCB_GET_PROPERTY_TYPE_ANY, 0, 256),
                               nullptr),
        &std::free);
    if (!reply || reply->format != 8) return {};
    return std::string(static_cast<const char*>(xcb_get_property_value(reply.get())),
                       static_cast<std::size_t>(xcb_get_property_value_length(reply.get())));
  }

  xcb_connection_t* connection_ = nullptr;
  xcb_window_t root_ = 0;
  xcb_atom_t netWmName_ = XCB_ATOM_NONE;
};

pid_t launch(const std::string& path) {
  const pid_t pid = fork();
  if (pid < 0) fail("fork failed");
  if (pid == 0) {
    // A desktop start: the X platform, no output on the terminal.
    setenv("QT_QPA_PLATFORM", "xcb", 1);
    const int null = open("/dev/null", O_WRONLY);
    dup2(null, STDOUT_FILENO);
    dup2(null, STDERR_FILENO);
    execl(path.c_str(), path.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  return pid;
}

std::string describeEnd(int status) {
  if (WIFEXITED(status)) return "exited with status " + std::to_string(WEXITSTATUS(status));
  if (WIFSIGNALED(status)) return std::string("died of ") + strsignal(WTERMSIG(status));
  return "ended";
}

// One start: fork, wait for the first paint of a top-level window, let the
// program settle, end it and read its peak memory.
Start measure(Display& display, const Program& program, std::chrono::milliseconds settle) {
  xcb_connection_t* c = display.connection();
  while (xcb_generic_event_t* stale = xcb_poll_for_event(c)) std::free(stale);

  Start start;
  std::set<xcb_window_t> watched, raced;
  std::vector<std::pair<xcb_window_t, Clock::time_point>> mapped;
  xcb_window_t painted = XCB_WINDOW_NONE;
  Clock::time_point paintedAt;

  const Clock::time_point forked = Clock::now();
  const pid_t pid = launch(program.path);
  const Clock::time_point deadline = forked + kStartTimeout;
  int status = 0;
  rusage usage{};

  while (painted == XCB_WINDOW_NONE) {
    xcb_generic_event_t* event = xcb_poll_for_event(c);
    if (!event) {
      if (xcb_connection_has_error(c)) fail("lost the X display");
      if (wait4(pid, &status, WNOHANG, &usage) == pid)
        fail(std::string(program.label) + " " + describeEnd(status) + " before showing a window");
      if (Clock::now() > deadline) {
        kill(pid, SIGKILL);
        wait4(pid, &status, 0, &usage);
        fail(std::string(program.label) + " showed no window within 20 s");
      }
      pollfd fd{xcb_get_file_descriptor(c), POLLIN, 0};
      poll(&fd, 1, 20);
      continue;
    }
    const Clock::time_point at = Clock::now();
    switch (event->response_type & 0x7f) {
      case XCB_CREATE_NOTIFY: {
        const auto* e = reinterpret_cast<xcb_create_notify_event_t*>(event);
        if (e->parent == display.root() && !e->override_redirect) {
          watched.insert(e->window);
          if (!display.watch(e->window)) raced.insert(e->window);
        }
        break;
      }
      case XCB_MAP_NOTIFY: {
        const auto* e = reinterpret_cast<xcb_map_notify_event_t*>(event);
        if (e->event == display.root()) mapped.emplace_back(e->window, at);
        break;
      }
      case XCB_EXPOSE: {
        const auto* e = reinterpret_cast<xcb_expose_event_t*>(event);
        if (watched.count(e->window)) {
          painted = e->window;
          paintedAt = at;
        }
        break;
      }
      default:
        break;
    }
    std::free(event);
    // A window mapped before we watched it: its map is the best we have.
    if (painted == XCB_WINDOW_NONE)
      for (const auto& [window, when] : mapped)
        if (raced.count(window)) {
          painted = window;
          paintedAt = when;
          start.byMapNotify = true;
          break;
        }
  }
  start.millis = Millis(paintedAt - forked).count();
  for (const auto& [window, when] : mapped)
    if (window == painted) start.exposeAfterMapMillis = Millis(paintedAt - when).count();
  start.title = display.title(painted);

  std::this_thread::sleep_for(settle);
  kill(pid, SIGTERM);
  if (wait4(pid, &status, 0, &usage) != pid) fail("lost the started program");
  if (!WIFSIGNALED(status) || WTERMSIG(status) != SIGTERM)
    fail(std::string(program.label) + " " + describeEnd(status) + " while running");
  start.peakKib = static_cast<double>(usage.ru_maxrss);
  auto millis = [](timeval t) { return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_usec) / 1e3; };
  start.cpuMillis = millis(usage.ru_utime) + millis(usage.ru_stime);
  return start;
}

struct Figures {
  std::vector<double> millis, exposeAfterMapMillis, peakKib, cpuMillis;
  int byMapNotify = 0;
};

void usage() {
  std::fprintf(stderr,
               "usage: startup_bench [--runs N] [--settle-ms MS] [--tsv FILE] NESTIQ BARE_DIALOG\n"
               "  N: measured starts of each program, in turn (default 15)\n"
               "  MS: time each program runs after its first paint, before SIGTERM (default 500)\n"
               "  FILE: also write the medians as tab-separated rows\n"
               "Needs an X display (DISPLAY), e.g. under xvfb-run -a.\n");
  std::exit(2);
}

}  // namespace

int main(int argc, char** argv) {
  int runs = 15;
  int settleMs = 500;
  const char* tsv = nullptr;
  std::vector<std::string> paths;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--runs" && i + 1 < argc)
      runs = std::atoi(argv[++i]);
    else if (arg == "--settle-ms" && i + 1 < argc)
      settleMs = std::atoi(argv[++i]);
    else if (arg == "--tsv" && i + 1 < argc)
      tsv = argv[++i];
    else if (arg.rfind("--", 0) == 0)
      usage();
    else
      paths.push_back(arg);
  }
  if (paths.size() != 2 || runs < 1 || settleMs < 0) usage();

  // nestiq sends nothing until Launch is pressed, which never happens here;
  // its start still belongs on a private LAN, as a user's machine would be.
  if (std::system(NESTIQ_NETNS_DIR "/in-private-netns") != 0)
    fail("run inside a private namespace (see bench/run)");

  const Program programs[2] = {{"nestiq", paths[0], "Paramétrages Box"},
                               {"bare dialog", paths[1], "Dialogue de référence"}};
  Display display;
  const std::chrono::milliseconds settle(settleMs);
  Figures figures[2];
  for (int run = -1; run < runs; ++run) {
    for (int p = 0; p < 2; ++p) {
      const Start start = measure(display, programs[p], settle);
      if (start.title != programs[p].title)
        fail(std::string(programs[p].label) + " showed \"" + start.title + "\" first, not \"" + programs[p].title +
             "\"");
      if (run < 0) continue;  // warm-up
      figures[p].millis.push_back(start.millis);
      figures[p].exposeAfterMapMillis.push_back(start.exposeAfterMapMillis);
      figures[p].peakKib.push_back(start.peakKib);
      figures[p].cpuMillis.push_back(start.cpuMillis);
      figures[p].byMapNotify += start.byMapNotify;
    }
  }

  const double ms[2] = {median(figures[0].millis), median(figures[1].millis)};
  const double mib[2] = {median(figures[0].peakKib) / 1024, median(figures[1].peakKib) / 1024};
  const double timeRatio = ms[0] / ms[1];
  const double memoryRatio = mib[0] / mib[1];
  auto verdict = [](double ratio) { return ratio <= 1.2 ? "met" : "MISSED"; };

  std::printf("Start-up on X (%d starts each, in turn, after one warm-up; medians)\n", runs);
  std::printf("                                 nestiq   bare Qt dialog    ratio   target\n");
  std::printf("  fork to first Expose     %9.1f ms   %9.1f ms   %6.2fx   <= 1.2x  %s\n", ms[0], ms[1], timeRatio,
              verdict(timeRatio));
  std::printf("  peak memory (ru_maxrss)  %8.1f MiB   %8.1f MiB   %6.2fx   <= 1.2x  %s\n", mib[0], mib[1],
              memoryRatio, verdict(memoryRatio));
  std::printf("  of which MapNotify to Expose %6.2f ms   %9.2f ms\n", median(figures[0].exposeAfterMapMillis),
              median(figures[1].exposeAfterMapMillis));
  const double cpu[2] = {median(figures[0].cpuMillis), median(figures[1].cpuMillis)};
  std::printf("  CPU time (user+system)   %9.1f ms   %9.1f ms   %6.2fx   (for reading: less hit by a busy machine)\n",
              cpu[0], cpu[1], cpu[0] / cpu[1]);
  std::printf("  first-paint range: nestiq %.1f-%.1f ms, bare %.1f-%.1f ms\n",
              *std::min_element(figures[0].millis.begin(), figures[0].millis.end()),
              *std::max_element(figures[0].millis.begin(), figures[0].millis.end()),
              *std::min_element(figures[1].millis.begin(), figures[1].millis.end()),
              *std::max_element(figures[1].millis.begin(), figures[1].millis.end()));
  std::printf("  first window shown: \"%s\" and \"%s\", as expected\n", programs[0].title, programs[1].title);
  for (int p = 0; p < 2; ++p)
    if (figures[p].byMapNotify)
      std::printf("  %s: %d of %d starts timed by MapNotify (mapped before it could be watched)\n",
                  programs[p].label, figures[p].byMapNotify, runs);

  if (tsv) {
    FILE* out = std::fopen(tsv, "w");
    if (!out) fail(std::string("cannot write ") + tsv);
    std::fprintf(out, "start to first paint\t%.1f ms\t%.1f ms (bare Qt dialog)\t%.2fx\t<= 1.2x\n", ms[0], ms[1],
                 timeRatio);
    std::fprintf(out, "peak memory\t%.1f MiB\t%.1f MiB (bare Qt dialog)\t%.2fx\t<= 1.2x\n", mib[0], mib[1],
                 memoryRatio);
    std::fprintf(out, "CPU time until SIGTERM\t%.1f ms\t%.1f ms (bare Qt dialog)\t%.2fx\t-\n", cpu[0], cpu[1],
                 cpu[0] / cpu[1]);
    std::fclose(out);
  }
  return 0;
}
