#include "res/resources.h"

#include "res/embedded_art.h"

namespace {

struct StringRow {
  int id;
  const char* text;
};

#define NQ_STRING(id, text) StringRow{id, text},
constexpr StringRow strings[] = {
#include "res/string_rows.inc"
};
#undef NQ_STRING

}  // namespace

std::span<const std::uint8_t> resourceData(ResourceType type, int id) {
  switch (type) {
    case ResourceType::Icon:
      if (id == 128) return embedded_art::icon128();
      break;
    case ResourceType::Clip:
      if (id == 129) return embedded_art::clip129();
      break;
    case ResourceType::Bitmap:
      if (id == 135) return embedded_art::bitmap135();
      break;
  }
  return {};
}

std::string loadResourceString(int id) {
  for (const StringRow& row : strings) {
    if (row.id == id) return row.text;
  }
  return {};
}
