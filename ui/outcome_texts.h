#pragma once
// Texts of a successful exchange: the summary, the shortcut file, the page.
#include <string>

#include "settings/box_settings.h"

// UTF-8; the licence is converted from its Windows-1252 bytes.
std::string configuredSummary(const BoxSettingsRecord& settings);
// The "BOX.url" content, with '\n' line ends (text mode adds CR on Windows).
std::string shortcutFileText(const char* boxIp);
std::string adminPageAddress(const char* boxIp);

inline constexpr const char* SHORTCUT_FILE_NAME = "BOX.url";
