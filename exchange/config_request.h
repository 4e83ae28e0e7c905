#pragma once
#include <string>

#include "settings/box_settings.h"

// "config %s %s %s %s %s" of licence, boxIp, mask, gateway, dns. Sent without
// terminator; a string holds the longest line whole (120 characters).
std::string buildConfigRequest(const BoxSettingsRecord& settings);
