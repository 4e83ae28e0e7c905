#include "ui/desktop_shortcut.h"

#include <string>

#include "platform/shell/shell.h"
#include "ui/outcome_texts.h"

bool writeDesktopShortcut(const char* boxIp) {
  char folder[DESKTOP_FOLDER_BUFFER_SIZE];
  if (!readDesktopFolder(folder)) return false;
  const std::string path = std::string(folder) + pathSeparator() + SHORTCUT_FILE_NAME;
  return writeTextFile(path, shortcutFileText(boxIp));
}
