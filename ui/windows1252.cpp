#include "ui/windows1252.h"

namespace {

// 0x80..0x9F of Windows-1252; 0 marks the five unassigned bytes.
constexpr char16_t kHighControls[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

char toByte(char32_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<char>(c);
  for (int i = 0; i < 32; ++i)
    if (kHighControls[i] != 0 && kHighControls[i] == c) return static_cast<char>(0x80 + i);
  return '?';
}

void appendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

}  // namespace

std::string toWindows1252(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    // A surrogate pair is one character, outside the code page.
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) ++i;
    out += (c >= 0xD800 && c <= 0xDFFF) ? '?' : toByte(c);
  }
  return out;
}

std::string utf8ToWindows1252(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size();) {
    const unsigned char b = static_cast<unsigned char>(utf8[i]);
    const int length = b < 0x80 ? 1 : (b >> 5) == 0x6 ? 2 : (b >> 4) == 0xE ? 3 : (b >> 3) == 0x1E ? 4 : 0;
    char32_t c = length == 1 ? b : length == 2 ? (b & 0x1F) : length == 3 ? (b & 0x0F) : (b & 0x07);
    bool valid = length > 0 && i + length <= utf8.size();
    for (int k = 1; valid && k < length; ++k) {
      const unsigned char t = static_cast<unsigned char>(utf8[i + k]);
      valid = (t & 0xC0) == 0x80;
      c = (c << 6) | (t & 0x3F);
    }
    // Overlong forms (a NUL or a quote in disguise), surrogates and values
    // past U+10FFFF are malformed too.
    constexpr char32_t kShortest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (valid && (c < kShortest[length] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))) valid = false;
    if (!valid) {
      out += '?';
      ++i;
      continue;
    }
    out += toByte(c);
    i += length;
  }
  return out;
}

std::string windows1252ToUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size() * 2);
  for (unsigned char b : bytes) {
    char32_t c = b;
    if (b >= 0x80 && b <= 0x9F) c = kHighControls[b - 0x80] ? kHighControls[b - 0x80] : 0xFFFD;
    appendUtf8(out, c);
  }
  return out;
}
