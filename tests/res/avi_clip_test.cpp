#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "res/avi_clip.h"
#include "res/resources.h"

namespace {

std::vector<std::uint8_t> shippedClip() {
  auto bytes = resourceData(ResourceType::Clip, 129);
  return {bytes.begin(), bytes.end()};
}

void put32(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i));
}
void put16(std::vector<std::uint8_t>& b, std::size_t at, std::uint16_t v) {
  b[at] = static_cast<std::uint8_t>(v);
  b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}
void putId(std::vector<std::uint8_t>& b, std::size_t at, const char* id) { std::memcpy(&b[at], id, 4); }

// Where the shipped clip keeps what the cases below spoil.
constexpr std::size_t kRiffSize = 4, kHdrlType = 20, kAvih = 24, kAvihData = 32, kStrh = 100,
                      kBih = 172, kJunk = 1076, kMoviType = 4092, kFirstFrame = 4096, kFrameSpan = 8 + 2048,
                      kIdx1 = 4096 + 8 * kFrameSpan, kRiffEnd = kIdx1 + 8 + 8 * 16;

TEST(AviClip, ReadsTheShippedClip) {
  const auto bytes = shippedClip();
  std::string error;
  auto clip = readAviClip(bytes, &error);
  ASSERT_TRUE(clip) << error;
  EXPECT_EQ(clip->width, 32);
  EXPECT_EQ(clip->height, 32);
  EXPECT_EQ(clip->microsecondsPerFrame, 100000u);
  EXPECT_DOUBLE_EQ(clip->framesPerSecond(), 10.0);
  ASSERT_EQ(clip->frames.size(), 8u);
  for (const auto& frame : clip->frames) {
    ASSERT_EQ(frame.size(), 32u * 32u);
    for (std::uint32_t px : frame) ASSERT_EQ(px >> 24, 0xFFu);  // opaque
  }
  for (std::size_t i = 1; i < 8; ++i) EXPECT_NE(clip->frames[i], clip->frames[i - 1]) << i;
}

TEST(AviClip, FramesComeTopRowFirst) {
  // The stored rows go bottom first; the reader turns them over. Mark the
  // stored first row (the picture's bottom row) of frame 1 and look for it.
  auto bytes = shippedClip();
  for (std::size_t x = 0; x < 32; ++x) put16(bytes, kFirstFrame + 8 + 2 * x, 0x7C00);  // red
  auto clip = readAviClip(bytes);
  ASSERT_TRUE(clip);
  EXPECT_EQ(clip->frames[0][31 * 32 + 5], 0xFFFF0000u);
  EXPECT_NE(clip->frames[0][5], 0xFFFF0000u);
}

TEST(AviClip, Rgb555Widening) {
  const std::pair<std::uint16_t, std::uint32_t> cases[] = {
      {0x0000, 0xFF000000}, {0x7FFF, 0xFFFFFFFF}, {0x7C00, 0xFFFF0000}, {0x03E0, 0xFF00FF00},
      {0x001F, 0xFF0000FF}, {0x6318, 0xFFC6C6C6}, {0x8000, 0xFF000000},  // top bit unused
  };
  for (auto [in, out] : cases) EXPECT_EQ(rgb555ToArgb(in), out) << std::hex << in;
}

TEST(AviClip, ZeroBytesAfterTheFormAreIgnored) {
  auto bytes = shippedClip();
  bytes.resize(kRiffEnd);  // without the padding
  EXPECT_TRUE(readAviClip(bytes));
  bytes.resize(kRiffEnd + 5000, 0);
  EXPECT_TRUE(readAviClip(bytes));
}

TEST(AviClip, RateFromTheStreamWhenTheMainHeaderHasNone) {
  auto bytes = shippedClip();
  put32(bytes, kAvihData, 0);
  put32(bytes, kStrh + 8 + 20, 1);   // scale
  put32(bytes, kStrh + 8 + 24, 25);  // rate
  auto clip = readAviClip(bytes);
  ASSERT_TRUE(clip);
  EXPECT_EQ(clip->microsecondsPerFrame, 40000u);
}

struct BadCase {
  const char* name;
  std::function<void(std::vector<std::uint8_t>&)> spoil;
  const char* reason;  // part of the error text
};

TEST(AviClip, RefusesMalformedClips) {
  const BadCase cases[] = {
      {"empty", [](auto& b) { b.clear(); }, "too short"},
      {"header cut", [](auto& b) { b.resize(11); }, "too short"},
      {"cut in the header list", [](auto& b) { b.resize(600); }, "RIFF size"},
      {"cut in a frame", [](auto& b) { b.resize(kFirstFrame + 1000); }, "RIFF size"},
      {"last index byte missing", [](auto& b) { b.resize(kRiffEnd - 1); }, "RIFF size"},
      {"not RIFF", [](auto& b) { putId(b, 0, "RIFX"); }, "not a RIFF"},
      {"not AVI", [](auto& b) { putId(b, 8, "WAVE"); }, "not AVI"},
      {"RIFF size huge", [](auto& b) { put32(b, kRiffSize, 0xFFFFFFFF); }, "RIFF size"},
      {"RIFF size too small", [](auto& b) { put32(b, kRiffSize, 2); }, "RIFF size"},
      {"no header list", [](auto& b) { putId(b, kHdrlType, "hdrX"); }, "no header list"},
      {"no main header", [](auto& b) { putId(b, kAvih, "aviX"); }, "no main header"},
      {"main header size past its list", [](auto& b) { put32(b, kAvih + 4, 5000); }, "runs past its end"},
      {"main header too short", [](auto& b) { put32(b, kAvih + 4, 8); }, ""},
      {"sound only", [](auto& b) { putId(b, kStrh + 8, "auds"); }, "no video stream"},
      {"8 bits a pixel", [](auto& b) { put16(b, kBih + 14, 8); }, "not 16 bits"},
      {"24 bits a pixel", [](auto& b) { put16(b, kBih + 14, 24); }, "not 16 bits"},
      {"compressed", [](auto& b) { put32(b, kBih + 16, 1); }, "compressed"},
      {"two planes", [](auto& b) { put16(b, kBih + 12, 2); }, "plane"},
      {"zero width", [](auto& b) { put32(b, kBih + 4, 0); }, "out of range"},
      {"top-down height", [](auto& b) { put32(b, kBih + 8, static_cast<std::uint32_t>(-32)); }, "out of range"},
      {"huge frame", [](auto& b) { put32(b, kBih + 4, 1u << 30); }, "out of range"},
      {"sizes disagree", [](auto& b) { put32(b, kAvihData + 32, 33); }, "disagree"},
      {"wider frames than stored", [](auto& b) {
         put32(b, kBih + 4, 40);
         put32(b, kAvihData + 32, 40);
       }, "bytes, not"},
      {"more frames announced", [](auto& b) { put32(b, kAvihData + 16, 9); }, "announces 9"},
      {"fewer frames announced", [](auto& b) { put32(b, kAvihData + 16, 7); }, "announces 7"},
      {"no frame", [](auto& b) {
         for (std::size_t f = 0; f < 8; ++f) putId(b, kFirstFrame + f * kFrameSpan, "JUNK");
       }, "no frame"},
      {"short frame", [](auto& b) { put32(b, kFirstFrame + 4, 2046); }, ""},
      {"no frame list", [](auto& b) { putId(b, kMoviType, "movX"); }, "no frame list"},
      {"index off by one entry", [](auto& b) { put32(b, kIdx1 + 8 + 8, 4 + kFrameSpan); }, "index entry 1"},
      {"index counted from the file start", [](auto& b) {
         for (std::size_t f = 0; f < 8; ++f) put32(b, kIdx1 + 8 + 16 * f + 8, static_cast<std::uint32_t>(kFirstFrame + f * kFrameSpan));
       }, "index entry 1"},
      {"index misses a frame", [](auto& b) { putId(b, kIdx1 + 8 + 16 * 7, "01wb"); }, "fewer frames"},
      {"index size not whole entries", [](auto& b) {
         put32(b, kIdx1 + 4, 8 * 16 - 2);
         put32(b, kRiffSize, static_cast<std::uint32_t>(kRiffEnd - 2 - 8));
       }, "whole number"},
  };
  for (const BadCase& c : cases) {
    SCOPED_TRACE(c.name);
    auto bytes = shippedClip();
    c.spoil(bytes);
    std::string error;
    EXPECT_FALSE(readAviClip(bytes, &error));
    EXPECT_NE(error.find("malformed AVI clip: "), std::string::npos) << error;
    EXPECT_NE(error.find(c.reason), std::string::npos) << error;
  }
}

TEST(AviClip, EveryCutInsideTheFormIsRefused) {
  const auto whole = shippedClip();
  for (std::size_t size = 0; size < kRiffEnd; size += 37) {
    std::vector<std::uint8_t> cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(size));
    ASSERT_FALSE(readAviClip(cut)) << size;
  }
}

TEST(AviClip, AnyHeaderByteSpoiledGivesAClipOrARefusal) {
  // Every header byte (the JUNK filler aside) set to 0xFF in turn: whatever
  // the reader says, it says it without reading outside the bytes, and a clip
  // it accepts holds whole frames.
  const auto whole = shippedClip();
  for (std::size_t at = 0; at < kFirstFrame + 8; ++at) {
    if (at == kJunk + 8) at = kMoviType - 12;  // skip the filler
    auto bytes = whole;
    bytes[at] = 0xFF;
    std::string error;
    auto clip = readAviClip(bytes, &error);
    if (!clip) {
      ASSERT_FALSE(error.empty()) << at;
      continue;
    }
    for (const auto& frame : clip->frames) {
      ASSERT_EQ(frame.size(), static_cast<std::size_t>(clip->width * clip->height)) << at;
    }
  }
}

}  // namespace
