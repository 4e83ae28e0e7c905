#include "settings/app_name.h"

#include <gtest/gtest.h>

TEST(ApplicationName, IsTheFileNameWithoutFolderOrExtension) {
  const std::pair<const char*, const char*> cases[] = {
      {"C:\\Program Files\\Nestiq\\nestiq.exe", "nestiq"},
      {"D:\\outils\\BoxSetup.EXE", "BoxSetup"},
      {"/usr/bin/nestiq", "nestiq"},
      {"/opt/tools/renamed-copy", "renamed-copy"},
      {"/home/ana/.local/bin/nestiq", "nestiq"},  // a dotted folder cuts nothing
      {"C:nestiq.v2.exe", "nestiq.v2"},
      {"nestiq", "nestiq"},
  };
  for (const auto& [path, name] : cases) EXPECT_EQ(applicationNameFromPath(path), name) << path;
}
