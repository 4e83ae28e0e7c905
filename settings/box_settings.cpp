#include "settings/box_settings.h"

#include <cstring>

BoxSettingsRecord BoxSettings{};

void resetBoxSettings(BoxSettingsRecord& record) {
  std::memset(record.licence, 0, sizeof record.licence);
  std::memset(record.dns, 0, sizeof record.dns);
  std::memset(record.gateway, 0, sizeof record.gateway);
  std::memset(record.mask, 0, sizeof record.mask);
  std::memset(record.boxIp, 0, sizeof record.boxIp);
  std::memset(record.hostIp, 0, sizeof record.hostIp);
  record.busy = false;
}
