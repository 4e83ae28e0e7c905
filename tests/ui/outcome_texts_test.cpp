#include "ui/outcome_texts.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(OutcomeTexts, SummaryNamesLicenceAddressAndMask) {
  BoxSettingsRecord s{};
  copyToField(s.licence, "Lic\xE9");
  copyToField(s.boxIp, "192.168.1.50");
  copyToField(s.mask, "255.255.255.0");
  EXPECT_EQ(configuredSummary(s), "La Box Licé a été configurée :\nIP : 192.168.1.50\nMasque : 255.255.255.0");
  const std::string longest(49, 'W');
  copyToField(s.licence, longest.c_str());
  EXPECT_NE(configuredSummary(s).find(longest + " a été"), std::string::npos);
}

TEST(OutcomeTexts, ShortcutFileAndPageAddress) {
  EXPECT_EQ(shortcutFileText("10.0.0.9"),
            "[DEFAULT]\nBASEURL=http://10.0.0.9/\n[InternetShortcut]\nURL=http://10.0.0.9/\n");
  EXPECT_EQ(shortcutFileText("255.255.255.255").size(), 89u);
  EXPECT_EQ(adminPageAddress("255.255.255.255"), "http://255.255.255.255/");
}

}  // namespace
