#pragma once
// The desktop: where the user's desktop folder is, writing a file there,
// and opening a web address with the user's default handler.
#include <cstddef>
#include <string>

inline constexpr std::size_t DESKTOP_FOLDER_BUFFER_SIZE = 300;

// Fills buffer with the desktop folder's path; false when there is none or
// it does not fit in the buffer with its terminator.
bool readDesktopFolder(char (&buffer)[DESKTOP_FOLDER_BUFFER_SIZE]);

// Asks the desktop to "open" file (a path or a web address). Always true.
bool shellOpen(const char* file, const void* ownerWindow, const char* parameters);

// The separator between a folder and a file name on this platform.
char pathSeparator();

// Creates or truncates path and writes text in text mode. Never follows a
// link at path, so nothing outside that file is written.
bool writeTextFile(const std::string& path, const std::string& text);
