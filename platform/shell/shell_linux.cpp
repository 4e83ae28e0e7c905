#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/shell/shell.h"
#include "platform/shell/user_dirs.h"

namespace {

std::string envOr(const char* name, const std::string& fallback) {
  const char* v = std::getenv(name);
  return (v && *v) ? std::string(v) : fallback;
}

std::string readWholeFile(const std::string& path) {
  std::ifstream in(path);
  std::ostringstream s;
  if (in) s << in.rdbuf();
  return s.str();
}

bool isDirectory(const std::string& path) {
  struct stat st{};
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace

bool readDesktopFolder(char (&buffer)[DESKTOP_FOLDER_BUFFER_SIZE]) {
  const std::string home = envOr("HOME", "");
  if (home.empty()) return false;
  const std::string config = envOr("XDG_CONFIG_HOME", home + "/.config");
  const std::string folder = desktopFolderFromUserDirs(readWholeFile(config + "/user-dirs.dirs"), home);
  if (folder.size() + 1 > sizeof buffer || !isDirectory(folder)) return false;
  std::memcpy(buffer, folder.c_str(), folder.size() + 1);
  return true;
}

bool shellOpen(const char* file, const void*, const char* parameters) {
  // The desktop's default handler; not waited for beyond its start, and
  // reaped so that it leaves no zombie behind.
  const char* argv[] = {"xdg-open", file, parameters, nullptr};
  if (!parameters) argv[2] = nullptr;
  const pid_t child = ::fork();
  if (child == 0) {
    const pid_t grandchild = ::fork();
    if (grandchild == 0) {
      ::execvp("xdg-open", const_cast<char**>(argv));
      ::_exit(127);
    }
    ::_exit(0);
  }
  if (child > 0) {
    int status = 0;
    ::waitpid(child, &status, 0);
  }
  return true;
}

char pathSeparator() { return '/'; }

bool writeTextFile(const std::string& path, const std::string& text) {
  // O_NONBLOCK: a FIFO of that name fails at once instead of holding the
  // dialog until someone reads it; it changes nothing for a regular file.
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK, 0644);
  if (fd < 0) return false;
  struct stat st{};
  bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
  std::size_t done = 0;
  while (ok && done < text.size()) {
    const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
    if (n <= 0) ok = false;
    else done += static_cast<std::size_t>(n);
  }
  return ::close(fd) == 0 && ok;
}
