#include "exchange/config_request.h"

#include <algorithm>

namespace {
// A field is read up to its terminator, and never past its own last byte:
// a field written to the end without one cannot pull in its neighbour.
template <std::size_t N>
void appendField(std::string& line, const char (&field)[N]) {
  line += ' ';
  line.append(field, static_cast<std::size_t>(std::find(field, field + N, '\0') - field));
}
}  // namespace

std::string buildConfigRequest(const BoxSettingsRecord& settings) {
  std::string line = "config";
  appendField(line, settings.licence);
  appendField(line, settings.boxIp);
  appendField(line, settings.mask);
  appendField(line, settings.gateway);
  appendField(line, settings.dns);
  return line;
}
