#include "tests/net/box_process.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

extern char** environ;

namespace {

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

bool exists(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0;
}

}  // namespace

std::string lanVariable(const char* name) {
  const char* v = std::getenv(name);
  return v ? v : "";
}

BoxProcess::BoxProcess(const std::string& netns, const std::vector<std::string>& args) {
  char tmpl[] = "/tmp/nestiq-box-XXXXXX";
  if (!mkdtemp(tmpl)) {
    problem_ = "no temporary folder";
    return;
  }
  dir_ = tmpl;
  std::vector<std::string> argv = {"ip", "netns", "exec", netns, NESTIQ_BOX_PATH, "--ready-file", dir_ + "/ready",
                                   "--record", dir_ + "/request"};
  argv.insert(argv.end(), args.begin(), args.end());
  std::vector<char*> cargv;
  for (auto& a : argv) cargv.push_back(a.data());
  cargv.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, (dir_ + "/out").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_addopen(&actions, 2, (dir_ + "/err").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  const int spawned = posix_spawnp(&pid_, "ip", &actions, nullptr, cargv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) {
    pid_ = -1;
    problem_ = "cannot start ip netns exec";
    return;
  }
  for (int i = 0; i < 1000; ++i) {
    if (exists(dir_ + "/ready")) {
      listening_ = true;
      return;
    }
    int status = 0;
    if (waitpid(pid_, &status, WNOHANG) == pid_) {
      pid_ = -1;
      problem_ = "the box ended before listening";
      return;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  problem_ = "the box did not listen within 5 s";
}

BoxProcess::~BoxProcess() {
  if (pid_ > 0) {
    kill(pid_, SIGTERM);
    waitpid(pid_, nullptr, 0);
  }
  if (!dir_.empty()) {
    for (const char* f : {"/ready", "/request", "/out", "/err"}) unlink((dir_ + f).c_str());
    rmdir(dir_.c_str());
  }
}

std::string BoxProcess::problem() const {
  return problem_ + (dir_.empty() ? "" : "; box said: " + readFile(dir_ + "/err") + readFile(dir_ + "/out"));
}

std::string BoxProcess::output() const { return readFile(dir_ + "/out"); }

std::string BoxProcess::recordedRequest() const { return readFile(dir_ + "/request"); }

std::vector<BoxRequest> BoxProcess::requests() const {
  std::vector<BoxRequest> found;
  std::istringstream lines(output());
  for (std::string line; std::getline(lines, line);) {
    unsigned n = 0, port = 0;
    char address[64] = "";
    std::size_t size = 0;
    double at = 0;
    if (std::sscanf(line.c_str(), "request %u from %63[0-9.]:%u, %zu bytes, at %lf s:", &n, address, &port, &size,
                    &at) == 5)
      found.push_back({address, size, at});
  }
  return found;
}
