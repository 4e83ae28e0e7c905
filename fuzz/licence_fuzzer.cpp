// The licence as typed or pasted (UTF-8 from the toolkit, or UTF-16 on
// Windows) to the Windows-1252 bytes of the record: one byte a character,
// '?' for what the code page lacks, at most 49 characters, cut at a NUL.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "fuzz/fuzz_check.h"
#include "settings/box_settings.h"
#include "ui/form_capture.h"
#include "ui/windows1252.h"

namespace {

// Characters of a strictly well-formed UTF-8 text, or -1 when it is not one.
long strictUtf8Length(std::string_view s) {
  long count = 0;
  for (std::size_t i = 0; i < s.size(); ++count) {
    const unsigned char b = static_cast<unsigned char>(s[i]);
    std::size_t n;
    char32_t c, min;
    if (b < 0x80) { n = 1; c = b; min = 0; }
    else if (b >= 0xC2 && b <= 0xDF) { n = 2; c = b & 0x1F; min = 0x80; }
    else if (b >= 0xE0 && b <= 0xEF) { n = 3; c = b & 0x0F; min = 0x800; }
    else if (b >= 0xF0 && b <= 0xF4) { n = 4; c = b & 0x07; min = 0x10000; }
    else return -1;
    if (i + n > s.size()) return -1;
    for (std::size_t k = 1; k < n; ++k) {
      const unsigned char t = static_cast<unsigned char>(s[i + k]);
      if ((t & 0xC0) != 0x80) return -1;
      c = c << 6 | (t & 0x3F);
    }
    if (c < min || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return -1;
    i += n;
  }
  return count;
}

void checkCapture(const std::string& text1252) {
  FormCapture form{{192, 168, 1, 50}, {255, 255, 255, 0}, {192, 168, 1, 1}, {192, 168, 1, 1}, text1252};
  BoxSettingsRecord record{};
  std::memset(record.licence, 'Z', sizeof record.licence);  // what was there before
  captureForm(form, record);
  const std::size_t length = strnlen(record.licence, sizeof record.licence);
  FUZZ_CHECK(length <= LICENCE_CAPTURE_MAX);
  const std::string typed = text1252.substr(0, text1252.find('\0'));
  FUZZ_CHECK(std::string(record.licence, length) == typed.substr(0, LICENCE_CAPTURE_MAX));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view utf8(reinterpret_cast<const char*>(data), size);
  const std::string bytes = utf8ToWindows1252(utf8);
  // A NUL comes only from a NUL: no malformed or overlong sequence turns into one.
  FUZZ_CHECK(std::count(bytes.begin(), bytes.end(), '\0') == std::count(utf8.begin(), utf8.end(), '\0'));
  FUZZ_CHECK(bytes.size() <= utf8.size());
  if (const long characters = strictUtf8Length(utf8); characters >= 0) {
    FUZZ_CHECK(bytes.size() == static_cast<std::size_t>(characters));
    // Back and forth through the code page changes nothing it can hold.
    FUZZ_CHECK(utf8ToWindows1252(windows1252ToUtf8(bytes)) == bytes);
  }
  // Every malformed or overlong sequence becomes '?': no ASCII character
  // appears that was not typed as itself.
  const auto plainAscii = [](char c) { return static_cast<unsigned char>(c) < 0x80 && c != '?'; };
  FUZZ_CHECK(std::count_if(bytes.begin(), bytes.end(), plainAscii) ==
             std::count_if(utf8.begin(), utf8.end(), plainAscii));
  checkCapture(bytes);

  // The same bytes read as UTF-16, as the Windows edit box hands them over.
  std::u16string wide(size / 2, u'\0');
  std::memcpy(wide.data(), data, wide.size() * 2);
  const std::string fromWide = toWindows1252(wide);
  FUZZ_CHECK(std::count(fromWide.begin(), fromWide.end(), '\0') == std::count(wide.begin(), wide.end(), u'\0'));
  FUZZ_CHECK(fromWide.size() <= wide.size());
  checkCapture(fromWide);
  return 0;
}
