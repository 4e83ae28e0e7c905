#include "exchange/config_request.h"

std::string buildConfigRequest(const BoxSettingsRecord& settings) {
  std::string line = "config";
  for (const char* field : {settings.licence, settings.boxIp, settings.mask, settings.gateway, settings.dns}) {
    line += ' ';
    line += field;
  }
  return line;
}
