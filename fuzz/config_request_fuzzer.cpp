// The request line from any record contents, the fields filled to their last
// byte included (no terminator at all): the line never takes a byte from
// outside a field.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

#include "exchange/config_request.h"
#include "fuzz/fuzz_check.h"
#include "settings/box_settings.h"

namespace {
template <std::size_t N>
std::size_t fill(char (&field)[N], const std::uint8_t*& data, std::size_t& size) {
  const std::size_t n = std::min(N, size);
  std::memcpy(field, data, n);
  data += n;
  size -= n;
  return n;
}

template <std::size_t N>
void appendExpected(std::string& line, const char (&field)[N]) {
  line += ' ';
  line.append(field, static_cast<std::size_t>(std::find(field, field + N, '\0') - field));
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // On the heap with its exact size, so that a read past the record is caught.
  auto record = std::make_unique<BoxSettingsRecord>();
  std::memset(static_cast<void*>(record.get()), 0, sizeof(BoxSettingsRecord));
  if (size > 0) {
    // The first byte says which fields stay as zeros: any mix of short and full.
    const std::uint8_t skip = data[0];
    ++data;
    --size;
    if (!(skip & 1)) fill(record->licence, data, size);
    if (!(skip & 2)) fill(record->boxIp, data, size);
    if (!(skip & 4)) fill(record->mask, data, size);
    if (!(skip & 8)) fill(record->gateway, data, size);
    if (!(skip & 16)) fill(record->dns, data, size);
    fill(record->hostIp, data, size);  // never sent, but lies right after the addresses
  }

  const std::string line = buildConfigRequest(*record);
  std::string expected = "config";
  appendExpected(expected, record->licence);
  appendExpected(expected, record->boxIp);
  appendExpected(expected, record->mask);
  appendExpected(expected, record->gateway);
  appendExpected(expected, record->dns);
  FUZZ_CHECK(line == expected);
  FUZZ_CHECK(line.size() <= 6 + 5 + LICENCE_FIELD_SIZE + 4 * ADDRESS_FIELD_SIZE);
  return 0;
}
