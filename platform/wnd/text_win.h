#pragma once
// The framework speaks UTF-8; Windows' wide API speaks UTF-16.
#include <string>

namespace wnd {

std::wstring widen(const std::string& utf8);
std::string narrow(const wchar_t* text, int length);
std::string narrow(const std::wstring& text);

}  // namespace wnd
