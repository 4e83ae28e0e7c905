#include "platform/shell/user_dirs.h"

#include <sstream>

std::string desktopFolderFromUserDirs(const std::string& text, const std::string& home) {
  std::istringstream lines(text);
  std::string line;
  const std::string key = "XDG_DESKTOP_DIR=";
  while (std::getline(lines, line)) {
    const auto start = line.find_first_not_of(" \t");
    if (start == std::string::npos || line.compare(start, key.size(), key) != 0) continue;
    std::string value = line.substr(start + key.size());
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"') value = value.substr(1, value.size() - 2);
    if (value.rfind("$HOME", 0) == 0) value = home + value.substr(5);
    else if (value.empty() || value.front() != '/') continue;  // only absolute or $HOME-relative paths count
    while (value.size() > 1 && value.back() == '/') value.pop_back();
    return value;
  }
  return home + "/Desktop";
}
