#pragma once
// Reads XDG_DESKTOP_DIR out of a user-dirs.dirs text; $HOME/Desktop when the
// text does not name it.
#include <string>

std::string desktopFolderFromUserDirs(const std::string& userDirsText, const std::string& home);
