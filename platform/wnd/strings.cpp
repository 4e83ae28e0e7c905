// What every toolkit shares: the application's name, the string table with
// its test overrides, and the start-up notices around InitInstance.
#include <map>
#include <mutex>
#include <optional>

#include "platform/wnd/app.h"
#include "platform/wnd/platform.h"
#include "settings/notice.h"

namespace wnd {

namespace {
std::string gApplicationName;
std::mutex gStringsMutex;
std::map<int, std::optional<std::string>> gStringOverrides;

// Start-up notices: ownerless and modal.
class NoticeBoxes final : public NoticeSink {
 public:
  void showOwnerlessMessage(const std::string& text, const std::string& caption) override {
    messageBoxes().showModal(nullptr, text, caption);
  }
};
}  // namespace

void runInitInstance(App& app) {
  NoticeBoxes notices;
  setNoticeSink(&notices);
  app.InitInstance();
  setNoticeSink(nullptr);
}

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
