// parseDottedQuad on any text, of any length.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/fuzz_check.h"
#include "settings/dotted_quad.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);  // c_str() ends at the first zero
  const std::uint32_t value = parseDottedQuad(text.c_str());

  // Only the first 15 characters count: the working copy is 16 bytes.
  const std::string head = std::string(text.c_str()).substr(0, 15);
  FUZZ_CHECK(parseDottedQuad(head.c_str()) == value);

  char field[20];
  formatDottedQuad(value, field);
  FUZZ_CHECK(parseDottedQuad(field) == value);
  return 0;
}
