#include "ui/dialog_logic.h"

#include <gtest/gtest.h>

#include "settings/dotted_quad.h"

namespace {

TEST(Prefill, ShowsTheHostNetworkAndItsValues) {
  BoxSettingsRecord s{};
  copyToField(s.hostIp, "192.168.1.20");
  copyToField(s.mask, "255.255.255.0");
  copyToField(s.gateway, "192.168.1.1");
  copyToField(s.dns, "192.168.1.1");
  const auto v = prefillValues(s);
  EXPECT_EQ(v.boxIp, parseDottedQuad("192.168.1.0"));
  EXPECT_EQ(v.mask, parseDottedQuad("255.255.255.0"));
  EXPECT_EQ(v.gateway, parseDottedQuad("192.168.1.1"));
  EXPECT_EQ(v.dns, parseDottedQuad("192.168.1.1"));

  copyToField(s.hostIp, "10.1.2.3");
  copyToField(s.mask, "255.0.0.0");
  EXPECT_EQ(prefillValues(s).boxIp, parseDottedQuad("10.0.0.0"));

  const auto none = prefillValues(BoxSettingsRecord{});
  EXPECT_EQ(none.boxIp | none.mask | none.gateway | none.dns, 0u);
}

TEST(AboutCommand, IsSixteenToThirtyOne) {
  EXPECT_TRUE(isAboutCommand(16));
  EXPECT_TRUE(isAboutCommand(31));
  EXPECT_FALSE(isAboutCommand(15));
  EXPECT_FALSE(isAboutCommand(32));
  EXPECT_FALSE(isAboutCommand(0xF060));  // SC_CLOSE
}

TEST(MinimisedIcon, IsCentredTruncatingTowardZero) {
  struct Case { int w, h, x, y; };
  for (auto c : {Case{36, 36, 2, 2}, Case{33, 33, 1, 1}, Case{0, 0, -15, -15}, Case{1, 0, -15, -15}, Case{32, 64, 0, 16}}) {
    const auto p = minimisedIconPosition(c.w, c.h, 32, 32);
    EXPECT_EQ(p.x, c.x) << c.w;
    EXPECT_EQ(p.y, c.y) << c.h;
  }
}

}  // namespace
