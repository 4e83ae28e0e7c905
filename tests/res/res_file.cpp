#include "tests/res/res_file.h"

#include <stdexcept>

namespace {

class Cursor {
 public:
  Cursor(std::span<const std::uint8_t> bytes, std::size_t pos = 0) : bytes_(bytes), pos_(pos) {}

  std::size_t pos() const { return pos_; }
  bool atEnd() const { return pos_ >= bytes_.size(); }
  void seek(std::size_t pos) { pos_ = pos; }
  void align4() { pos_ = (pos_ + 3) & ~std::size_t{3}; }

  void need(std::size_t n) const {
    if (n > bytes_.size() || pos_ > bytes_.size() - n) throw std::runtime_error("resource data cut short");
  }
  std::uint8_t u8() {
    need(1);
    return bytes_[pos_++];
  }
  std::uint16_t u16() {
    need(2);
    std::uint16_t v = static_cast<std::uint16_t>(bytes_[pos_] | bytes_[pos_ + 1] << 8);
    pos_ += 2;
    return v;
  }
  std::uint32_t u32() {
    std::uint32_t lo = u16();
    return lo | static_cast<std::uint32_t>(u16()) << 16;
  }
  std::int16_t i16() { return static_cast<std::int16_t>(u16()); }
  std::u16string wstring() {
    std::u16string s;
    for (char16_t c = u16(); c != 0; c = u16()) s += c;
    return s;
  }
  // A number (0xFFFF then the number) or a zero-terminated text.
  ResId nameOrNumber() {
    need(2);
    if (bytes_[pos_] == 0xFF && bytes_[pos_ + 1] == 0xFF) {
      u16();
      return {u16(), {}};
    }
    return {-1, utf16ToUtf8(wstring())};
  }
  std::span<const std::uint8_t> take(std::size_t n) {
    need(n);
    auto out = bytes_.subspan(pos_, n);
    pos_ += n;
    return out;
  }

 private:
  std::span<const std::uint8_t> bytes_;
  std::size_t pos_;
};

std::string predefinedClass(int ordinal) {
  switch (ordinal) {
    case 0x80: return "BUTTON";
    case 0x81: return "EDIT";
    case 0x82: return "STATIC";
    case 0x83: return "LISTBOX";
    case 0x84: return "SCROLLBAR";
    case 0x85: return "COMBOBOX";
  }
  return "#" + std::to_string(ordinal);
}

VersionNode versionNode(Cursor& c) {
  const std::size_t start = c.pos();
  const std::uint16_t length = c.u16();
  const std::uint16_t valueLength = c.u16();
  const std::uint16_t type = c.u16();
  VersionNode node;
  node.key = utf16ToUtf8(c.wstring());
  c.align4();
  node.isText = type == 1;
  if (node.isText) {
    std::u16string text;
    for (std::uint16_t i = 0; i < valueLength; ++i) text += static_cast<char16_t>(c.u16());
    while (!text.empty() && text.back() == 0) text.pop_back();
    node.text = utf16ToUtf8(text);
  } else {
    auto v = c.take(valueLength);
    node.value.assign(v.begin(), v.end());
  }
  const std::size_t end = start + length;
  c.align4();
  while (c.pos() < end) {
    node.children.push_back(versionNode(c));
    c.align4();
  }
  c.seek(end);
  return node;
}

}  // namespace

std::string utf16ToUtf8(std::u16string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    std::uint32_t cp = text[i];
    if (cp >= 0xD800 && cp < 0xDC00 && i + 1 < text.size()) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (text[++i] - 0xDC00);
    }
    if (cp < 0x80) {
      out += static_cast<char>(cp);
    } else if (cp < 0x800) {
      out += static_cast<char>(0xC0 | cp >> 6);
      out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
      out += static_cast<char>(0xE0 | cp >> 12);
      out += static_cast<char>(0x80 | (cp >> 6 & 0x3F));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | cp >> 18);
      out += static_cast<char>(0x80 | (cp >> 12 & 0x3F));
      out += static_cast<char>(0x80 | (cp >> 6 & 0x3F));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    }
  }
  return out;
}

std::vector<ResEntry> readResFile(std::span<const std::uint8_t> bytes) {
  std::vector<ResEntry> entries;
  Cursor c(bytes);
  bool first = true;
  while (!c.atEnd()) {
    const std::size_t start = c.pos();
    const std::uint32_t dataSize = c.u32();
    const std::uint32_t headerSize = c.u32();
    ResEntry e;
    e.type = c.nameOrNumber();
    e.name = c.nameOrNumber();
    c.align4();
    c.u32();  // data version
    c.u16();  // memory flags
    e.language = c.u16();
    c.seek(start + headerSize);
    auto data = c.take(dataSize);
    e.data.assign(data.begin(), data.end());
    c.align4();
    if (first && dataSize == 0 && e.type.number == 0) {
      first = false;
      continue;
    }
    first = false;
    entries.push_back(std::move(e));
  }
  return entries;
}

ParsedDialog parseDialogResource(std::span<const std::uint8_t> data) {
  Cursor c(data);
  ParsedDialog d;
  if (data.size() >= 4 && data[0] == 1 && data[1] == 0 && data[2] == 0xFF && data[3] == 0xFF) {
    d.extended = true;
    c.u32();
    d.helpId = c.u32();
    d.exStyle = c.u32();
    d.style = c.u32();
  } else {
    d.style = c.u32();
    d.exStyle = c.u32();
  }
  const int count = c.u16();
  d.x = c.i16();
  d.y = c.i16();
  d.w = c.i16();
  d.h = c.i16();
  ResId menu = c.nameOrNumber(), cls = c.nameOrNumber();
  d.menu = menu.number >= 0 ? "#" + std::to_string(menu.number) : menu.text;
  d.windowClass = cls.number >= 0 ? "#" + std::to_string(cls.number) : cls.text;
  d.title = utf16ToUtf8(c.wstring());
  if (d.style & 0x40) {  // DS_SETFONT
    d.pointSize = c.u16();
    if (d.extended) {
      d.weight = c.u16();
      d.italic = c.u8() != 0;
      d.charset = c.u8();
    }
    d.fontName = utf16ToUtf8(c.wstring());
  }
  for (int i = 0; i < count; ++i) {
    c.align4();
    ParsedControl ctl;
    if (d.extended) {
      c.u32();  // help id
      ctl.exStyle = c.u32();
      ctl.style = c.u32();
    } else {
      ctl.style = c.u32();
      ctl.exStyle = c.u32();
    }
    ctl.x = c.i16();
    ctl.y = c.i16();
    ctl.w = c.i16();
    ctl.h = c.i16();
    ctl.id = d.extended ? static_cast<std::int32_t>(c.u32()) : c.i16();
    ResId cls = c.nameOrNumber();
    ctl.windowClass = cls.number >= 0 ? predefinedClass(cls.number) : cls.text;
    ResId text = c.nameOrNumber();
    if (text.number >= 0) {
      ctl.textOrdinal = text.number;
    } else {
      ctl.text = text.text;
    }
    c.take(c.u16());  // creation data
    d.controls.push_back(ctl);
  }
  return d;
}

VersionNode parseVersionResource(std::span<const std::uint8_t> data) {
  Cursor c(data);
  return versionNode(c);
}
