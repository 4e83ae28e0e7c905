#include "settings/dotted_quad.h"

#include <cstdio>

namespace {

constexpr int kWorkingCopySize = 16;

bool isCSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Signed decimal as atoi reads it, reduced modulo 2^32.
std::uint32_t pieceValue(const char* p, const char* end) {
  while (p < end && isCSpace(*p)) ++p;
  bool negative = false;
  if (p < end && (*p == '+' || *p == '-')) negative = (*p++ == '-');
  std::uint32_t value = 0;
  for (; p < end && *p >= '0' && *p <= '9'; ++p) value = value * 10u + static_cast<std::uint32_t>(*p - '0');
  return negative ? 0u - value : value;
}

}  // namespace

std::uint32_t parseDottedQuad(const char* text) {
  char copy[kWorkingCopySize] = {};
  if (text)
    for (int i = 0; i < kWorkingCopySize - 1 && text[i] != '\0'; ++i) copy[i] = text[i];

  std::uint32_t pieces[4] = {0, 0, 0, 0};
  int found = 0;
  const char* p = copy;
  while (*p != '\0' && found < 4) {
    if (*p == '.') {
      ++p;
      continue;
    }
    const char* start = p;
    while (*p != '\0' && *p != '.') ++p;
    pieces[found++] = pieceValue(start, p);
  }
  std::uint32_t result = pieces[0];
  for (int i = 1; i < 4; ++i) result = result * 256u + pieces[i];
  return result;
}

void formatDottedQuad(std::uint32_t value, char (&field)[20]) {
  std::snprintf(field, sizeof field, "%i.%i.%i.%i", static_cast<int>((value >> 24) & 0xFFu),
                static_cast<int>((value >> 16) & 0xFFu), static_cast<int>((value >> 8) & 0xFFu),
                static_cast<int>(value & 0xFFu));
}
