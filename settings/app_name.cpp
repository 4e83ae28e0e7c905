#include "settings/app_name.h"

std::string applicationNameFromPath(const std::string& path) {
  std::string name = path;
  if (const auto sep = name.find_last_of("\\/:"); sep != std::string::npos) name.erase(0, sep + 1);
  if (const auto dot = name.rfind('.'); dot != std::string::npos && dot > 0) name.erase(dot);
  return name;
}
