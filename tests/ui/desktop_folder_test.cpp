// The desktop folder as the user's system may have it: too long a path, a
// dangling link, read-only, a FIFO or a read-only file named BOX.url. The
// shortcut is written into that one file or not at all; nothing else is
// created or changed, and nothing waits.
#include <gtest/gtest.h>
#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

#include "platform/shell/shell.h"
#include "ui/desktop_shortcut.h"

namespace {

namespace fs = std::filesystem;

std::string readFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

// Every path under root, with its type and size, to see that nothing else changed.
std::set<std::string> snapshot(const fs::path& root) {
  std::set<std::string> entries;
  for (const auto& e : fs::recursive_directory_iterator(root)) {
    const auto status = e.symlink_status();
    std::string entry = e.path().string() + " " + std::to_string(static_cast<int>(status.type()));
    if (status.type() == fs::file_type::regular) entry += " " + readFile(e.path());
    entries.insert(entry);
  }
  return entries;
}

class DesktopFolder : public testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/nestiq-desktop-XXXXXX";
    ASSERT_TRUE(mkdtemp(tmpl));
    home = tmpl;
    fs::permissions(home, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                              fs::perms::others_read | fs::perms::others_exec);
    saved = std::getenv("HOME") ? std::getenv("HOME") : "";
    savedConfig = std::getenv("XDG_CONFIG_HOME") ? std::getenv("XDG_CONFIG_HOME") : "";
    setenv("HOME", home.c_str(), 1);
    unsetenv("XDG_CONFIG_HOME");
  }
  void TearDown() override {
    setenv("HOME", saved.c_str(), 1);
    if (!savedConfig.empty()) setenv("XDG_CONFIG_HOME", savedConfig.c_str(), 1);
    fs::remove_all(home);
  }
  // The user-dirs file names `folder` as the desktop.
  void desktopIs(const fs::path& folder) {
    fs::create_directories(home / ".config");
    std::ofstream(home / ".config/user-dirs.dirs") << "XDG_DESKTOP_DIR=\"" << folder.string() << "\"\n";
  }
  // writeDesktopShortcut as another user than root, whom permissions bind.
  static int writeAsNobody() {
    const pid_t child = fork();
    if (child == 0) {
      if (setgroups(0, nullptr) != 0 || setgid(65534) != 0 || setuid(65534) != 0) _exit(2);
      _exit(writeDesktopShortcut("192.168.1.50") ? 1 : 0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  fs::path home;
  std::string saved, savedConfig;
  const std::string kShortcut =
      "[DEFAULT]\nBASEURL=http://192.168.1.50/\n[InternetShortcut]\nURL=http://192.168.1.50/\n";
};

TEST_F(DesktopFolder, APathThatDoesNotFitInThreeHundredBytesIsRefused) {
  for (const std::size_t length : {298u, 299u, 300u, 301u, 1000u}) {
    SCOPED_TRACE(std::to_string(length) + " characters");
    // Folders of at most 100 characters each, to reach the length exactly.
    fs::path folder = home / "d";
    while (folder.string().size() < length) {
      const std::size_t room = length - folder.string().size() - 1;
      folder /= std::string(std::min<std::size_t>(room, 100), 'x');
    }
    ASSERT_EQ(folder.string().size(), length);
    fs::create_directories(folder);
    desktopIs(folder);
    const auto before = snapshot(home);

    char buffer[DESKTOP_FOLDER_BUFFER_SIZE];
    std::memset(buffer, '#', sizeof buffer);
    const bool fits = length + 1 <= DESKTOP_FOLDER_BUFFER_SIZE;
    ASSERT_EQ(readDesktopFolder(buffer), fits);
    if (fits) {
      EXPECT_EQ(std::string(buffer), folder.string());
    }
    ASSERT_EQ(writeDesktopShortcut("192.168.1.50"), fits);
    if (fits) {
      // The full path, up to 307 characters, is held whole.
      EXPECT_EQ(readFile(folder / "BOX.url"), kShortcut);
      fs::remove(folder / "BOX.url");
    }
    EXPECT_EQ(snapshot(home), before);
    fs::remove_all(home / "d");
  }
}

TEST_F(DesktopFolder, ADanglingLinkIsNoDesktop) {
  fs::create_symlink(home / "gone", home / "Desktop");
  const auto before = snapshot(home);
  char buffer[DESKTOP_FOLDER_BUFFER_SIZE];
  EXPECT_FALSE(readDesktopFolder(buffer));
  EXPECT_FALSE(writeDesktopShortcut("192.168.1.50"));
  EXPECT_FALSE(fs::exists(home / "gone"));
  EXPECT_EQ(snapshot(home), before);
}

TEST_F(DesktopFolder, ALinkToARealFolderIsFollowedToIt) {
  fs::create_directory(home / "real");
  fs::create_symlink(home / "real", home / "Desktop");
  EXPECT_TRUE(writeDesktopShortcut("192.168.1.50"));
  EXPECT_EQ(readFile(home / "real/BOX.url"), kShortcut);
}

TEST_F(DesktopFolder, AReadOnlyFolderOrShortcutIsLeftAlone) {
  fs::create_directory(home / "Desktop");
  fs::permissions(home / "Desktop", fs::perms::owner_all | fs::perms::others_read | fs::perms::others_exec);
  auto before = snapshot(home);
  EXPECT_EQ(writeAsNobody(), 0) << "written into a folder the user may not write to";
  EXPECT_EQ(snapshot(home), before);

  // Now the folder may be written, but BOX.url may not.
  fs::permissions(home / "Desktop", fs::perms::all);
  std::ofstream(home / "Desktop/BOX.url") << "kept";
  fs::permissions(home / "Desktop/BOX.url", fs::perms::owner_read | fs::perms::others_read);
  before = snapshot(home);
  EXPECT_EQ(writeAsNobody(), 0) << "replaced a read-only shortcut";
  EXPECT_EQ(snapshot(home), before);
}

TEST_F(DesktopFolder, AFifoNamedLikeTheShortcutFailsAtOnce) {
  fs::create_directory(home / "Desktop");
  ASSERT_EQ(mkfifo((home / "Desktop/BOX.url").c_str(), 0644), 0);
  const auto before = snapshot(home);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(writeDesktopShortcut("192.168.1.50"));
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
  EXPECT_EQ(snapshot(home), before);
}

}  // namespace
