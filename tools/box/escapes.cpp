#include "tools/box/escapes.h"

#include <cstdio>

namespace {

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

std::optional<std::string> decodeEscapes(const std::string& text, std::string& error) {
  std::string bytes;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\') {
      bytes += text[i];
      continue;
    }
    if (++i == text.size()) {
      error = "a lone backslash at the end";
      return std::nullopt;
    }
    switch (text[i]) {
      case 'n': bytes += '\n'; break;
      case 'r': bytes += '\r'; break;
      case 't': bytes += '\t'; break;
      case '0': bytes += '\0'; break;
      case '\\': bytes += '\\'; break;
      case 'x': {
        const int high = i + 1 < text.size() ? hexValue(text[i + 1]) : -1;
        const int low = i + 2 < text.size() ? hexValue(text[i + 2]) : -1;
        if (high < 0 || low < 0) {
          error = "\\x needs two hex digits";
          return std::nullopt;
        }
        bytes += static_cast<char>(high * 16 + low);
        i += 2;
        break;
      }
      default:
        error = std::string("unknown escape \\") + text[i];
        return std::nullopt;
    }
  }
  return bytes;
}

std::string printableBytes(const std::string& bytes) {
  std::string text;
  for (const char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    if (b == '\\') {
      text += "\\\\";
    } else if (b >= 0x20 && b < 0x7F) {
      text += c;
    } else {
      char hex[5];
      std::snprintf(hex, sizeof hex, "\\x%02X", b);
      text += hex;
    }
  }
  return text;
}
