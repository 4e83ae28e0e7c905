#pragma once
// The dialog templates as data: the same rows the Windows resource script
// compiles, read here by the toolkits that build windows themselves.
#include <cstdint>
#include <span>

struct ControlTemplate {
  int id;                  // -1: never addressed by the code
  const char* windowClass; // "BUTTON", "EDIT", "STATIC", "SysIPAddress32", "SysAnimate32"
  const char* text;        // UTF-8; empty when textResource names a picture
  int textResource;        // resource number shown by the control (SS_BITMAP), else 0
  int x, y, w, h;          // dialog units
  std::uint32_t style;     // Windows style bits
};

struct DialogTemplate {
  int id;
  bool extended;           // DIALOGEX
  const char* title;       // UTF-8
  int x, y, w, h;          // dialog units
  std::uint32_t style, exStyle;
  const char* fontName;
  int pointSize, weight;
  bool italic;
  int charset;
  std::span<const ControlTemplate> controls;  // template order = tab order
};

// nullptr when the number names no template.
const DialogTemplate* findDialogTemplate(int id);
