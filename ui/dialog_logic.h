#pragma once
// Small rules of the main dialog that need no window.
#include <cstdint>

#include "settings/box_settings.h"

struct PrefillValues {
  std::uint32_t boxIp;    // host address AND host mask: the host's network
  std::uint32_t mask;
  std::uint32_t gateway;
  std::uint32_t dns;
};
PrefillValues prefillValues(const BoxSettingsRecord& settings);

// System commands 16 to 31 all open the About box.
bool isAboutCommand(unsigned commandId);

struct IconPosition {
  int x, y;
};
// Where the icon of a minimised window is drawn: centred, truncating toward zero.
IconPosition minimisedIconPosition(int clientWidth, int clientHeight, int iconWidth, int iconHeight);
