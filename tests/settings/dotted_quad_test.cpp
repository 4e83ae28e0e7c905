#include "settings/dotted_quad.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

std::uint32_t bytes(unsigned a, unsigned b, unsigned c, unsigned d) { return (a << 24) | (b << 16) | (c << 8) | d; }

struct ParseCase {
  const char* text;
  std::uint32_t expected;
};

class ParseDottedQuad : public testing::TestWithParam<ParseCase> {};

TEST_P(ParseDottedQuad, GivesTheAddressValue) {
  EXPECT_EQ(parseDottedQuad(GetParam().text), GetParam().expected) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ParseDottedQuad,
    testing::Values(ParseCase{"", 0}, ParseCase{"192.168.1.10", bytes(192, 168, 1, 10)},
                    ParseCase{"10.0", bytes(10, 0, 0, 0)}, ParseCase{"1..2.3", bytes(1, 2, 3, 0)},
                    ParseCase{".1.2.3.4", bytes(1, 2, 3, 4)}, ParseCase{"1.2.3.4.5", bytes(1, 2, 3, 4)},
                    ParseCase{"1.256.0.0", bytes(2, 0, 0, 0)}, ParseCase{"10.0.0.-1", bytes(9, 255, 255, 255)},
                    ParseCase{"x", 0}, ParseCase{"x.1.2.3", bytes(0, 1, 2, 3)},
                    ParseCase{" 7.+8. -0.9z", bytes(7, 8, 0, 9)}, ParseCase{"255.255.255.255", 0xFFFFFFFFu},
                    ParseCase{"4294967296.0.1", bytes(0, 0, 1, 0)},  // wraps modulo 2^32
                    ParseCase{"-1", bytes(255, 0, 0, 0)}));

TEST(ParseDottedQuadLongText, ReadsOnlyTheFirstFifteenCharacters) {
  // "1.2.3.4" then padding dots, then a fourth piece past character 15.
  EXPECT_EQ(parseDottedQuad("1.2.3..........9"), bytes(1, 2, 3, 0));
  EXPECT_EQ(parseDottedQuad("111.222.123.2345678"), parseDottedQuad("111.222.123.234"));
  const std::string huge(5000, '7');
  EXPECT_NO_FATAL_FAILURE(parseDottedQuad(huge.c_str()));
}

TEST(ParseDottedQuadArgument, IsLeftUntouched) {
  char text[] = "1.2.3.4";
  parseDottedQuad(text);
  EXPECT_STREQ(text, "1.2.3.4");
}

TEST(FormatDottedQuad, WritesDecimalBytesTopFirst) {
  char field[20];
  formatDottedQuad(0, field);
  EXPECT_STREQ(field, "0.0.0.0");
  formatDottedQuad(0xFFFFFFFFu, field);
  EXPECT_STREQ(field, "255.255.255.255");
  formatDottedQuad(bytes(10, 0, 0, 1), field);
  EXPECT_STREQ(field, "10.0.0.1");
}

TEST(FormatDottedQuad, RoundTripsEveryByteClass) {
  // Every byte value in every position, plus values mixing them.
  char field[20];
  for (unsigned shift : {0u, 8u, 16u, 24u})
    for (unsigned b = 0; b < 256; ++b) {
      const std::uint32_t v = (b << shift) | (0x5Au << ((shift + 8) % 32));
      formatDottedQuad(v, field);
      ASSERT_EQ(parseDottedQuad(field), v) << field;
    }
  std::uint32_t v = 12345;
  for (int i = 0; i < 20000; ++i, v = v * 1664525u + 1013904223u) {
    formatDottedQuad(v, field);
    ASSERT_EQ(parseDottedQuad(field), v) << field;
  }
}

}  // namespace
