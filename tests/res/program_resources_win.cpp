#include "tests/res/program_resources_win.h"

#include <windows.h>

#include <stdexcept>

namespace {

ResId idOf(const wchar_t* id) {
  ResId r;
  if (IS_INTRESOURCE(id)) {
    r.number = static_cast<int>(reinterpret_cast<std::uintptr_t>(id));
  } else {
    std::u16string text;
    for (const wchar_t* c = id; *c; ++c) text += static_cast<char16_t>(*c);
    r.text = utf16ToUtf8(text);
  }
  return r;
}

struct Walk {
  HMODULE module;
  std::vector<ResEntry> entries;
  const wchar_t* type = nullptr;
  const wchar_t* name = nullptr;
};

BOOL CALLBACK onLanguage(HMODULE module, LPCWSTR type, LPCWSTR name, WORD language, LONG_PTR context) {
  auto& walk = *reinterpret_cast<Walk*>(context);
  HRSRC found = FindResourceExW(module, type, name, language);
  HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
  const auto* bytes = static_cast<const std::uint8_t*>(loaded ? LockResource(loaded) : nullptr);
  ResEntry e{idOf(type), idOf(name), language, {}};
  if (bytes) e.data.assign(bytes, bytes + SizeofResource(module, found));
  walk.entries.push_back(std::move(e));
  return TRUE;
}

BOOL CALLBACK onName(HMODULE module, LPCWSTR type, LPWSTR name, LONG_PTR context) {
  EnumResourceLanguagesW(module, type, name, onLanguage, context);
  return TRUE;
}

BOOL CALLBACK onType(HMODULE module, LPWSTR type, LONG_PTR context) {
  EnumResourceNamesW(module, type, onName, context);
  return TRUE;
}

}  // namespace

std::vector<ResEntry> readProgramResources(const std::wstring& path) {
  HMODULE module = LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  if (!module) throw std::runtime_error("cannot load the program's resources");
  Walk walk{module, {}};
  EnumResourceTypesW(module, onType, reinterpret_cast<LONG_PTR>(&walk));
  FreeLibrary(module);
  return walk.entries;
}
