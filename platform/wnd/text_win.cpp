#include "platform/wnd/text_win.h"

#include <windows.h>

#include <climits>

namespace wnd {

std::wstring widen(const std::string& utf8) {
  if (utf8.empty() || utf8.size() > INT_MAX) return {};
  const int size = static_cast<int>(utf8.size());
  const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
  if (n <= 0) return {};
  std::wstring out(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, out.data(), n);
  return out;
}

std::string narrow(const wchar_t* text, int length) {
  if (!text || length <= 0) return {};
  const int n = WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
  if (n <= 0) return {};
  std::string out(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text, length, out.data(), n, nullptr, nullptr);
  return out;
}

std::string narrow(const std::wstring& text) {
  return text.size() > INT_MAX ? std::string() : narrow(text.data(), static_cast<int>(text.size()));
}

}  // namespace wnd
