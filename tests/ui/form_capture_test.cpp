#include "ui/form_capture.h"

#include <gtest/gtest.h>

#include <string>

#include "ui/windows1252.h"

namespace {

FormCapture form(std::string licence) {
  return {{192, 168, 1, 50}, {255, 255, 0, 0}, {192, 168, 1, 1}, {0, 0, 0, 0}, std::move(licence)};
}

TEST(FormCapture, WritesAddressesAndLicence) {
  BoxSettingsRecord s{};
  copyToField(s.hostIp, "192.168.1.20");
  captureForm(form("ABC"), s);
  EXPECT_STREQ(s.boxIp, "192.168.1.50");
  EXPECT_STREQ(s.mask, "255.255.0.0");
  EXPECT_STREQ(s.gateway, "192.168.1.1");
  EXPECT_STREQ(s.dns, "0.0.0.0");
  EXPECT_STREQ(s.licence, "ABC");
  EXPECT_STREQ(s.hostIp, "192.168.1.20");
}

TEST(FormCapture, KeepsAtMostFortyNineCharacters) {
  BoxSettingsRecord s{};
  captureForm(form(std::string(60, 'x') ), s);
  EXPECT_EQ(std::string(s.licence), std::string(49, 'x'));
  captureForm(form("short"), s);
  EXPECT_STREQ(s.licence, "short");
}

TEST(FormCapture, StopsAtATypedNul) {
  BoxSettingsRecord s{};
  captureForm(form(std::string("AB\0CD", 5)), s);
  EXPECT_STREQ(s.licence, "AB");
}

TEST(Windows1252, ConvertsAndReplacesOutsiders) {
  EXPECT_EQ(toWindows1252(u"Clé 1€"), "Cl\xE9 1\x80");
  EXPECT_EQ(toWindows1252(u"日本"), "??");
  EXPECT_EQ(toWindows1252(u"a\U0001F600b"), "a?b");  // one character, one '?'
  EXPECT_EQ(toWindows1252(u"\x81"), "?");             // unassigned in the code page
  EXPECT_EQ(windows1252ToUtf8("Cl\xE9 \x80"), "Clé €");
  EXPECT_EQ(utf8ToWindows1252("Clé 1€ 日\xF0\x9F\x98\x80 \xC3"), "Cl\xE9 1\x80 ?? ?");
}

}  // namespace
