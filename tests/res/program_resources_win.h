#pragma once
// The resources of a built Windows program, read the way Windows reads them
// (its resource section, loaded as data), in the shape of a .res file's entries.
#include <string>
#include <vector>

#include "tests/res/res_file.h"

// Throws std::runtime_error when the program cannot be loaded.
std::vector<ResEntry> readProgramResources(const std::wstring& path);
