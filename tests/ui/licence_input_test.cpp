// Whatever is typed or pasted as the licence: every length, characters the
// code page lacks, control characters, a NUL. The record always gets at most
// 49 bytes and its terminator, one byte a character.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "settings/box_settings.h"
#include "ui/control_ids.h"
#include "ui/form_capture.h"
#include "ui/launch_validation.h"
#include "ui/windows1252.h"

namespace {

// What lands in the record for a text typed into the edit box (UTF-8 from
// the toolkit), over bytes left by an earlier Launch.
std::string captured(const std::string& utf8) {
  BoxSettingsRecord r{};
  std::memset(r.licence, 'Z', sizeof r.licence);
  captureForm({{10, 0, 0, 2}, {255, 0, 0, 0}, {10, 0, 0, 1}, {10, 0, 0, 1}, utf8ToWindows1252(utf8)}, r);
  EXPECT_LT(strnlen(r.licence, sizeof r.licence), sizeof r.licence);
  return r.licence;
}

std::string times(const std::string& s, std::size_t n) {
  std::string out;
  for (std::size_t i = 0; i < n; ++i) out += s;
  return out;
}

struct Alphabet {
  const char* name;
  std::string typed;  // one character, UTF-8
  char stored;        // its Windows-1252 byte
};

TEST(LicenceInput, EveryLengthKeepsAtMostFortyNineCharactersOneByteEach) {
  const Alphabet alphabets[] = {
      {"ascii", "x", 'x'},
      {"latin", "é", '\xE9'},
      {"euro, above 0x7F in the code page", "€", '\x80'},
      {"outside the code page", "日", '?'},
      {"outside the BMP", "\U0001F600", '?'},
      {"tab", "\t", '\t'},
      {"control", "\x01", '\x01'},
      {"delete", "\x7F", '\x7F'},
      {"C1 control, not in the code page", "\xC2\x85", '?'},
  };
  for (const Alphabet& a : alphabets) {
    for (std::size_t n = 0; n <= 120; ++n) {
      SCOPED_TRACE(std::string(a.name) + ", " + std::to_string(n) + " characters");
      ASSERT_EQ(captured(times(a.typed, n)), std::string(n < 49 ? n : 49, a.stored));
    }
  }
}

TEST(LicenceInput, MixedTextIsCutAtTheFortyNinthCharacterNotByte) {
  // 48 characters of one byte, then three-byte characters: the 49th is kept whole.
  EXPECT_EQ(captured(std::string(48, 'a') + "€€"), std::string(48, 'a') + "\x80");
  EXPECT_EQ(captured(std::string(47, 'a') + "\U0001F600日x"), std::string(47, 'a') + "??");
}

TEST(LicenceInput, ANulTypedOrPastedEndsTheText) {
  EXPECT_EQ(captured(std::string("AB\0CD", 5)), "AB");
  EXPECT_EQ(captured(std::string("\0ABC", 4)), "");
  EXPECT_EQ(captured(std::string(60, 'x') + std::string(1, '\0')), std::string(49, 'x'));
  // The check sees what will be sent: a text that starts with a NUL is empty.
  LaunchForm form{std::string("\0ABC", 4), {false, 0x0A000002}, {false, 0xFF000000}, {false, 0x0A000001},
                  {false, 0x0A000001}};
  BoxSettingsRecord host{};
  const auto failure = validateLaunchForm(form, host);
  ASSERT_TRUE(failure);
  EXPECT_EQ(failure->rule, 1);
  EXPECT_EQ(failure->focusControl, IDC_LICENCE);
}

// Found by fuzzing: overlong forms decoded to the byte they disguise, a NUL
// among them, which cut the licence short behind the user's back.
TEST(LicenceInput, MalformedAndOverlongUtf8BecomesQuestionMarks) {
  const struct {
    const char* bytes;
    const char* stored;
  } cases[] = {
      {"A\xC0\x80" "B", "A??B"},             // overlong NUL
      {"A\xC1\x81" "B", "A??B"},             // overlong 'A'
      {"A\xE0\x80\xA2" "B", "A???B"},        // overlong '"'
      {"A\xF0\x80\x80\xAF" "B", "A????B"},   // overlong '/'
      {"\xED\xA0\x80", "???"},               // a surrogate on its own
      {"\xF4\x90\x80\x80", "????"},          // past U+10FFFF
      {"\xC3", "?"},                         // cut short
      {"\xFF\xFE", "??"},
      {"\xC3\xA9", "\xE9"},                  // well-formed: é
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.bytes);
    EXPECT_EQ(utf8ToWindows1252(c.bytes), c.stored);
    EXPECT_EQ(captured(c.bytes), c.stored);
  }
}

TEST(LicenceInput, Utf16FromTheWindowsEditBoxTheSameWay) {
  EXPECT_EQ(toWindows1252(std::u16string(120, u'é')), std::string(120, '\xE9'));
  EXPECT_EQ(toWindows1252(u"a\xD800" "b"), "a?b");  // a lone surrogate
  EXPECT_EQ(toWindows1252(std::u16string(u"A\0B", 3)), std::string("A\0B", 3));
}

}  // namespace
