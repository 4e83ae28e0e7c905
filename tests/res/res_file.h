#pragma once
// Reads a compiled Windows resource file (.res, as windres writes it) and the
// resource formats the program uses, so tests can compare the compiled
// resources with the data the other builds use.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

// A resource type or name: a number, or (when number < 0) a text.
struct ResId {
  int number = -1;
  std::string text;  // UTF-8
};

struct ResEntry {
  ResId type;
  ResId name;
  std::uint16_t language = 0;
  std::vector<std::uint8_t> data;
};

// Every entry after the empty leading one; throws std::runtime_error when the
// file is malformed.
std::vector<ResEntry> readResFile(std::span<const std::uint8_t> bytes);

struct ParsedControl {
  int id = 0;
  std::string windowClass;  // a predefined class given by ordinal is named
  std::string text;
  int textOrdinal = 0;      // the resource number when the text is one
  int x = 0, y = 0, w = 0, h = 0;
  std::uint32_t style = 0, exStyle = 0;
};

struct ParsedDialog {
  bool extended = false;
  std::uint32_t helpId = 0;
  std::uint32_t style = 0, exStyle = 0;
  int x = 0, y = 0, w = 0, h = 0;
  std::string menu, windowClass, title;
  int pointSize = 0, weight = 0;
  bool italic = false;
  int charset = 1;
  std::string fontName;
  std::vector<ParsedControl> controls;
};

ParsedDialog parseDialogResource(std::span<const std::uint8_t> data);

// A node of a version block; value holds text for a text node.
struct VersionNode {
  std::string key;
  bool isText = false;
  std::string text;
  std::vector<std::uint8_t> value;
  std::vector<VersionNode> children;
};

VersionNode parseVersionResource(std::span<const std::uint8_t> data);

std::string utf16ToUtf8(std::u16string_view text);
