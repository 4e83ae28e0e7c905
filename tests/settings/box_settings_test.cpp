#include "settings/box_settings.h"

#include <gtest/gtest.h>

#include <cstring>

TEST(BoxSettings, StartsEmptyAndIdle) {
  for (const char* field : {BoxSettings.licence, BoxSettings.dns, BoxSettings.gateway, BoxSettings.mask,
                            BoxSettings.boxIp, BoxSettings.hostIp})
    EXPECT_STREQ(field, "");
  EXPECT_FALSE(BoxSettings.busy);
  EXPECT_EQ(sizeof BoxSettings.licence, 100u);
  EXPECT_EQ(sizeof BoxSettings.hostIp, 20u);
}

TEST(CopyToField, CutsWhatDoesNotFitAndTerminates) {
  char field[8];
  std::memset(field, 'z', sizeof field);
  copyToField(field, "0123456789");
  EXPECT_STREQ(field, "0123456");
  copyToField(field, nullptr);
  EXPECT_STREQ(field, "");
}
