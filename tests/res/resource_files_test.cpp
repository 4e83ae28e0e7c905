#include <gtest/gtest.h>

#include <cstdint>
#include <span>
#include <string>

#include "res/resources.h"

namespace {

std::uint16_t u16(std::span<const std::uint8_t> b, std::size_t at) {
  return static_cast<std::uint16_t>(b[at] | b[at + 1] << 8);
}
std::uint32_t u32(std::span<const std::uint8_t> b, std::size_t at) {
  return u16(b, at) | static_cast<std::uint32_t>(u16(b, at + 2)) << 16;
}
std::string fourcc(std::span<const std::uint8_t> b, std::size_t at) {
  return std::string(reinterpret_cast<const char*>(b.data() + at), 4);
}

TEST(ResourceStrings, AboutEntryTextAndMissingNumbers) {
  EXPECT_EQ(loadResourceString(101), "&A propos de Nestiq...");
  for (int id : {0, 100, 102, 128, -1}) EXPECT_EQ(loadResourceString(id), "") << id;
}

TEST(ResourceData, OnlyTheListedPictures) {
  EXPECT_FALSE(resourceData(ResourceType::Icon, 128).empty());
  EXPECT_FALSE(resourceData(ResourceType::Clip, 129).empty());
  EXPECT_FALSE(resourceData(ResourceType::Bitmap, 135).empty());
  EXPECT_TRUE(resourceData(ResourceType::Icon, 129).empty());
  EXPECT_TRUE(resourceData(ResourceType::Icon, 1).empty());
  EXPECT_TRUE(resourceData(ResourceType::Clip, 128).empty());
  EXPECT_TRUE(resourceData(ResourceType::Bitmap, 128).empty());
}

// Icon 128: three images in the icon image form: 32x32 and 16x16 in 16 colours, 32x32 in 256.
TEST(IconFile, ThreeImagesWithColourTablesAndMasks) {
  auto ico = resourceData(ResourceType::Icon, 128);
  ASSERT_GE(ico.size(), 6u + 3 * 16);
  EXPECT_EQ(u16(ico, 0), 0);
  EXPECT_EQ(u16(ico, 2), 1);  // icon, not cursor
  ASSERT_EQ(u16(ico, 4), 3);

  struct Image { int size, colours, bits; };
  const Image images[] = {{32, 16, 4}, {16, 16, 4}, {32, 256, 8}};
  std::size_t expectedOffset = 6 + 3 * 16;
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(i + 1);
    const Image& want = images[i];
    const std::size_t e = 6 + 16 * static_cast<std::size_t>(i);
    EXPECT_EQ(ico[e], want.size);
    EXPECT_EQ(ico[e + 1], want.size);
    EXPECT_EQ(ico[e + 2], want.colours == 256 ? 0 : want.colours);
    EXPECT_EQ(u16(ico, e + 4), 1);  // planes
    EXPECT_EQ(u16(ico, e + 6), want.bits);
    const std::uint32_t bytes = u32(ico, e + 8);
    const std::uint32_t offset = u32(ico, e + 12);
    EXPECT_EQ(offset, expectedOffset);  // images follow each other
    ASSERT_LE(std::size_t{offset} + bytes, ico.size());
    expectedOffset = offset + bytes;

    auto img = ico.subspan(offset, bytes);
    EXPECT_EQ(u32(img, 0), 40u);  // BITMAPINFOHEADER
    EXPECT_EQ(u32(img, 4), static_cast<std::uint32_t>(want.size));
    EXPECT_EQ(u32(img, 8), static_cast<std::uint32_t>(2 * want.size));  // colour image + mask
    EXPECT_EQ(u16(img, 12), 1);
    EXPECT_EQ(u16(img, 14), want.bits);
    EXPECT_EQ(u32(img, 16), 0u);  // BI_RGB
    const std::size_t table = 4u * static_cast<std::size_t>(want.colours);
    const std::size_t xorRow = (static_cast<std::size_t>(want.size * want.bits) + 31) / 32 * 4;
    const std::size_t andRow = (static_cast<std::size_t>(want.size) + 31) / 32 * 4;
    const std::size_t xorSize = xorRow * static_cast<std::size_t>(want.size);
    const std::size_t andSize = andRow * static_cast<std::size_t>(want.size);
    ASSERT_EQ(bytes, 40 + table + xorSize + andSize);

    // Mask rows bottom first: the corners are transparent, the middle is not,
    // and transparent pixels are black in the colour image.
    auto pixelIndex = [&](int x, int y) {
      const std::size_t row = 40 + table + xorRow * static_cast<std::size_t>(want.size - 1 - y);
      const std::uint8_t byte = img[row + static_cast<std::size_t>(x * want.bits / 8)];
      return want.bits == 8 ? byte : (x % 2 == 0 ? byte >> 4 : byte & 0x0F);
    };
    auto transparent = [&](int x, int y) {
      const std::size_t row = 40 + table + xorSize + andRow * static_cast<std::size_t>(want.size - 1 - y);
      return (img[row + static_cast<std::size_t>(x / 8)] >> (7 - x % 8) & 1) == 1;
    };
    const int last = want.size - 1;
    for (auto [x, y] : {std::pair{0, 0}, {last, 0}, {0, last}, {last, last}}) {
      EXPECT_TRUE(transparent(x, y)) << x << "," << y;
      EXPECT_EQ(pixelIndex(x, y), 0) << x << "," << y;
    }
    EXPECT_FALSE(transparent(want.size / 2, want.size / 2));
  }
  EXPECT_EQ(expectedOffset, ico.size());
}

// Clip 129: its chunk layout, field by field where it is fixed.
TEST(ClipFile, ChunkLayout) {
  auto avi = resourceData(ResourceType::Clip, 129);
  ASSERT_GT(avi.size(), 4096u + 8 * 2056);
  EXPECT_EQ(fourcc(avi, 0), "RIFF");
  EXPECT_EQ(fourcc(avi, 8), "AVI ");
  const std::size_t riffEnd = 8 + std::size_t{u32(avi, 4)};
  ASSERT_LE(riffEnd, avi.size());
  for (std::size_t i = riffEnd; i < avi.size(); ++i) ASSERT_EQ(avi[i], 0) << "after the form, at " << i;

  EXPECT_EQ(fourcc(avi, 12), "LIST");
  EXPECT_EQ(fourcc(avi, 20), "hdrl");
  EXPECT_EQ(fourcc(avi, 24), "avih");
  ASSERT_EQ(u32(avi, 28), 56u);
  const std::size_t avih = 32;
  EXPECT_EQ(u32(avi, avih + 0), 100000u);       // microseconds a frame
  EXPECT_EQ(u32(avi, avih + 12), 0x10u | 0x800u);  // AVIF_HASINDEX | AVIF_TRUSTCKTYPE
  EXPECT_EQ(u32(avi, avih + 16), 8u);           // frames
  EXPECT_EQ(u32(avi, avih + 20), 0u);           // initial frames
  EXPECT_EQ(u32(avi, avih + 24), 1u);           // streams
  EXPECT_EQ(u32(avi, avih + 28), 2048u);        // suggested buffer
  EXPECT_EQ(u32(avi, avih + 32), 32u);
  EXPECT_EQ(u32(avi, avih + 36), 32u);

  const std::size_t strl = avih + 56;
  EXPECT_EQ(fourcc(avi, strl), "LIST");
  EXPECT_EQ(fourcc(avi, strl + 8), "strl");
  EXPECT_EQ(fourcc(avi, strl + 12), "strh");
  ASSERT_EQ(u32(avi, strl + 16), 56u);
  const std::size_t strh = strl + 20;
  EXPECT_EQ(fourcc(avi, strh), "vids");
  EXPECT_EQ(u32(avi, strh + 4), 0u);  // no handler
  EXPECT_EQ(u32(avi, strh + 20), 1u);  // scale
  EXPECT_EQ(u32(avi, strh + 24), 10u);  // rate
  EXPECT_EQ(u32(avi, strh + 28), 0u);  // start
  EXPECT_EQ(u32(avi, strh + 32), 8u);  // length
  EXPECT_EQ(u32(avi, strh + 36), 2048u);
  EXPECT_EQ(u32(avi, strh + 48), 0u);  // frame rectangle 0,0 -
  EXPECT_EQ(u32(avi, strh + 52), 32u | 32u << 16);  //              32,32

  const std::size_t strfChunk = strh + 56;
  EXPECT_EQ(fourcc(avi, strfChunk), "strf");
  ASSERT_EQ(u32(avi, strfChunk + 4), 40u + 216 * 4);
  const std::size_t bih = strfChunk + 8;
  EXPECT_EQ(u32(avi, bih), 40u);
  EXPECT_EQ(u32(avi, bih + 4), 32u);
  EXPECT_EQ(u32(avi, bih + 8), 32u);
  EXPECT_EQ(u16(avi, bih + 12), 1);
  EXPECT_EQ(u16(avi, bih + 14), 16);
  EXPECT_EQ(u32(avi, bih + 16), 0u);  // BI_RGB
  EXPECT_EQ(u32(avi, bih + 20), 2048u);
  EXPECT_EQ(u32(avi, bih + 32), 216u);
  EXPECT_EQ(u32(avi, bih + 36), 216u);
  const std::size_t hdrlEnd = bih + 40 + 216 * 4;
  EXPECT_EQ(u32(avi, 16), hdrlEnd - 20);        // hdrl size covers what it holds
  EXPECT_EQ(u32(avi, strl + 4), hdrlEnd - strl - 8);

  EXPECT_EQ(fourcc(avi, hdrlEnd), "JUNK");
  const std::size_t movi = hdrlEnd + 8 + u32(avi, hdrlEnd + 4);
  EXPECT_EQ(fourcc(avi, movi), "LIST");
  EXPECT_EQ(fourcc(avi, movi + 8), "movi");
  ASSERT_EQ(movi + 12, 4096u);  // the first frame chunk
  ASSERT_EQ(u32(avi, movi + 4), 4u + 8 * (8 + 2048));
  for (std::size_t f = 0; f < 8; ++f) {
    const std::size_t at = 4096 + f * (8 + 2048);
    EXPECT_EQ(fourcc(avi, at), "00db") << f;
    EXPECT_EQ(u32(avi, at + 4), 2048u) << f;
  }

  const std::size_t idx1 = 4096 + 8 * (8 + 2048);
  EXPECT_EQ(fourcc(avi, idx1), "idx1");
  ASSERT_EQ(u32(avi, idx1 + 4), 8u * 16);
  EXPECT_EQ(idx1 + 8 + 8 * 16, riffEnd);
  for (std::size_t f = 0; f < 8; ++f) {
    const std::size_t e = idx1 + 8 + 16 * f;
    EXPECT_EQ(fourcc(avi, e), "00db");
    EXPECT_EQ(u32(avi, e + 4), 0x10u);  // AVIIF_KEYFRAME
    const std::size_t target = movi + 8 + u32(avi, e + 8);  // from the "movi" list type
    EXPECT_EQ(target, 4096 + f * (8 + 2048)) << f;
    EXPECT_EQ(u32(avi, e + 12), 2048u);
  }
}

// Bitmap 135: 150 x 55, 24 bits, bottom-up, no colour table.
TEST(BitmapFile, HeaderAndSize) {
  auto bmp = resourceData(ResourceType::Bitmap, 135);
  const std::size_t rowBytes = (150 * 3 + 3) / 4 * 4;
  ASSERT_EQ(bmp.size(), 14 + 40 + rowBytes * 55);
  EXPECT_EQ(fourcc(bmp, 0).substr(0, 2), "BM");
  EXPECT_EQ(u32(bmp, 2), bmp.size());
  EXPECT_EQ(u32(bmp, 10), 54u);  // pixels right after the header
  EXPECT_EQ(u32(bmp, 14), 40u);
  EXPECT_EQ(u32(bmp, 18), 150u);
  EXPECT_EQ(u32(bmp, 22), 55u);  // positive: bottom row first
  EXPECT_EQ(u16(bmp, 26), 1);
  EXPECT_EQ(u16(bmp, 28), 24);
  EXPECT_EQ(u32(bmp, 30), 0u);  // BI_RGB
  EXPECT_EQ(u32(bmp, 46), 0u);  // no colour table
}

}  // namespace
