#include "tools/box/box_options.h"

#include <gtest/gtest.h>

#include "tools/box/escapes.h"

namespace {

struct EscapeCase {
  const char* text;
  std::string bytes;
};

TEST(BoxEscapes, TurnIntoTheirBytes) {
  const EscapeCase cases[] = {
      {"CONFIG_OK", "CONFIG_OK"},
      {"CONFIG_OK\\r\\n", "CONFIG_OK\r\n"},
      {"A\\0B", std::string("A\0B", 3)},
      {"\\x00\\xfF\\x41", std::string("\0\xFF\x41", 3)},
      {"tab\\there\\\\", "tab\there\\"},
      {"", ""},
  };
  for (const auto& c : cases) {
    std::string error;
    const auto bytes = decodeEscapes(c.text, error);
    ASSERT_TRUE(bytes.has_value()) << c.text << ": " << error;
    EXPECT_EQ(*bytes, c.bytes) << c.text;
  }
}

TEST(BoxEscapes, RefuseWhatTheyDoNotKnow) {
  for (const char* text : {"a\\", "\\q", "\\x4", "\\xZZ"}) {
    std::string error;
    EXPECT_FALSE(decodeEscapes(text, error).has_value()) << text;
    EXPECT_FALSE(error.empty()) << text;
  }
}

TEST(BoxEscapes, PrintableFormShowsEveryByte) {
  EXPECT_EQ(printableBytes(std::string("ok \\ caf\xE9\r\n\0", 12)), "ok \\\\ caf\\xE9\\x0D\\x0A\\x00");
}

struct OptionsCase {
  std::vector<std::string> args;
  BoxAnswer answer;
  std::string reply;
  unsigned delayMs;
  std::optional<unsigned> splitMs;
  unsigned count;
};

TEST(BoxOptions, ReadTheAnswerAndTiming) {
  const OptionsCase cases[] = {
      {{}, BoxAnswer::Reply, "CONFIG_OK", 0, std::nullopt, 0},
      {{"--reply", "CONFIG_BAD_USER", "--count", "3"}, BoxAnswer::Reply, "CONFIG_BAD_USER", 0, std::nullopt, 3},
      {{"--reply-bytes=CONFIG_OK\\n", "--delay=250"}, BoxAnswer::Reply, "CONFIG_OK\n", 250, std::nullopt, 0},
      {{"--reply-bytes", ""}, BoxAnswer::Reply, "", 0, std::nullopt, 0},
      {{"--split", "400"}, BoxAnswer::Reply, "CONFIG_OK", 0, 400u, 0},
      {{"--silent", "--delay", "10"}, BoxAnswer::Silent, "CONFIG_OK", 10, std::nullopt, 0},
      {{"--close"}, BoxAnswer::Close, "CONFIG_OK", 0, std::nullopt, 0},
      {{"--reset"}, BoxAnswer::Reset, "CONFIG_OK", 0, std::nullopt, 0},
      {{"--no-connect", "--count", "1"}, BoxAnswer::NoConnect, "CONFIG_OK", 0, std::nullopt, 1},
  };
  for (const auto& c : cases) {
    std::string error;
    const auto o = parseBoxOptions(c.args, error);
    ASSERT_TRUE(o.has_value()) << error;
    EXPECT_EQ(o->answer, c.answer) << error;
    EXPECT_EQ(o->reply, c.reply);
    EXPECT_EQ(o->delayMs, c.delayMs);
    EXPECT_EQ(o->splitMs, c.splitMs);
    EXPECT_EQ(o->count, c.count);
  }
}

TEST(BoxOptions, RefuseABadCommandLineWithAReason) {
  const std::vector<std::vector<std::string>> bad = {
      {"--reply", "CONFIG_NOPE"}, {"--reply"},           {"--delay", "-1"},           {"--delay", "1s"},
      {"--count", "0"},           {"--silent", "--close"}, {"--reply", "CONFIG_OK", "--reply-bytes", "x"},
      {"--split", "10", "--close"}, {"--no-connect", "--delay", "5"}, {"--close=yes"}, {"--record", ""},
      {"--reply-bytes", "\\x4"},  {"-x"},
  };
  for (const auto& args : bad) {
    std::string error;
    EXPECT_FALSE(parseBoxOptions(args, error).has_value()) << args[0];
    EXPECT_FALSE(error.empty()) << args[0];
  }
}

}  // namespace
