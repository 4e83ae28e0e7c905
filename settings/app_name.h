#pragma once
#include <string>

// The executable's file name without folder and extension. The extension is
// looked for in the file name only, so that a folder with a dot in its name
// (~/.local/bin/nestiq) does not cut the path short.
std::string applicationNameFromPath(const std::string& path);
