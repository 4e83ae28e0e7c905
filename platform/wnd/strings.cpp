// What every toolkit shares: the application's name and the string table
// with its test overrides.
#include <map>
#include <mutex>
#include <optional>

#include "platform/wnd/platform.h"

namespace wnd {

namespace {
std::string gApplicationName;
std::mutex gStringsMutex;
std::map<int, std::optional<std::string>> gStringOverrides;
}  // namespace

const std::string& applicationName() { return gApplicationName; }
void setApplicationName(std::string name) { gApplicationName = std::move(name); }

std::string LoadString(int id) {
  {
    std::lock_guard lock(gStringsMutex);
    if (auto it = gStringOverrides.find(id); it != gStringOverrides.end()) return it->second.value_or("");
  }
  return resourceString(id);
}

void overrideString(int id, const std::string* text) {
  std::lock_guard lock(gStringsMutex);
  if (text)
    gStringOverrides[id] = *text;
  else
    gStringOverrides.erase(id);
}

}  // namespace wnd
