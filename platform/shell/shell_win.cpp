// The desktop on Windows: the per-user Shell Folders value, the shell's
// "open" verb, and files in text mode (CR LF line ends).
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cstring>

#include "platform/shell/shell.h"

bool readDesktopFolder(char (&buffer)[DESKTOP_FOLDER_BUFFER_SIZE]) {
  // Read access is all this needs: asking for more fails where policy keeps
  // the user from writing the key, and then no shortcut could be made.
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", 0,
                    KEY_READ, &key) != ERROR_SUCCESS)
    return false;
  DWORD size = sizeof buffer;
  const LONG r = RegQueryValueExA(key, "Desktop", nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), &size);
  RegCloseKey(key);
  if (r != ERROR_SUCCESS) return false;
  // The stored text need not end with its terminator: add it, and refuse a
  // value that leaves no room for it.
  if (size < sizeof buffer)
    buffer[size] = '\0';
  else if (buffer[sizeof buffer - 1] != '\0')
    return false;
  return true;
}

bool shellOpen(const char* file, const void* ownerWindow, const char* parameters) {
  SHELLEXECUTEINFOA info;
  std::memset(&info, 0, sizeof info);
  info.cbSize = sizeof info;
  info.fMask = 0;
  info.hwnd = static_cast<HWND>(const_cast<void*>(ownerWindow));
  info.lpVerb = "open";
  info.lpFile = file;
  info.lpParameters = parameters;
  // Shown normally: the user asked to see the page, and a browser that
  // starts with the given show command would otherwise stay hidden.
  info.nShow = SW_SHOWNORMAL;
  ShellExecuteExA(&info);
  return true;
}

char pathSeparator() { return '\\'; }

bool writeTextFile(const std::string& path, const std::string& text) {
  // Never write through a link or junction at that name.
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY)))
    return false;
  std::FILE* file = std::fopen(path.c_str(), "w");  // text mode: each \n becomes CR LF
  if (!file) return false;
  const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
  return std::fclose(file) == 0 && written;
}
