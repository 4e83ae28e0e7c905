#pragma once
// The licence travels as Windows-1252 bytes whatever the toolkit's encoding.
#include <string>
#include <string_view>

// UTF-16 to Windows-1252; a character outside the code page becomes '?'.
std::string toWindows1252(std::u16string_view text);
// UTF-8 to Windows-1252, the same way; malformed bytes become '?'.
std::string utf8ToWindows1252(std::string_view utf8);
// Windows-1252 bytes to UTF-8 (bytes the code page leaves undefined map to U+FFFD).
std::string windows1252ToUtf8(std::string_view bytes);
