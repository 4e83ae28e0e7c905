// Compiles res/nestiq.rc with windres and reads the result back: the Windows
// build gets the same templates, texts and pictures as the other builds. In
// the Windows build itself, the same checks read the built nestiq.exe.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <stdexcept>
#include <string>
#include <unistd.h>
#include <vector>

#include "res/dialog_template.h"
#include "res/resources.h"
#include "tests/res/res_file.h"
#include "windres_config.h"
#ifdef _WIN32
#include "tests/res/program_resources_win.h"
#endif

namespace {

constexpr std::uint16_t kFrenchFrance = 0x040C;

#ifdef _WIN32
// NESTIQ_EXE: the built program, a Linux path seen through Wine's drive Z:.
std::wstring programPath() {
  const char* named = std::getenv("NESTIQ_EXE");
  std::wstring path = named ? std::wstring(named, named + std::strlen(named)) : L"nestiq.exe";
  if (!path.empty() && path[0] == L'/') path = L"Z:" + path;
  for (wchar_t& c : path)
    if (c == L'/') c = L'\\';
  return path;
}
#endif
constexpr int RT_BITMAP_ = 2, RT_ICON_ = 3, RT_DIALOG_ = 5, RT_STRING_ = 6, RT_GROUP_ICON_ = 14,
              RT_VERSION_ = 16;

std::string upper(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::toupper(c); });
  return s;
}

class ResourceScript : public testing::Test {
 protected:
  static void SetUpTestSuite() {
#ifdef _WIN32
    // The Windows build reads them back from the built program instead.
    try {
      entries_ = readProgramResources(programPath());
      status_ = 0;
    } catch (const std::exception& e) {
      log_ = e.what();
    }
    return;
#endif
    if (*kWindresCommand == '\0') return;
    const auto dir = std::filesystem::temp_directory_path() / ("nestiq-res-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    const auto res = dir / "nestiq.res";
    const auto log = dir / "windres.log";
    const std::string command = std::string(kWindresCommand) + " -O res -o '" + res.string() + "' '" +
                                kResourceScript + "' >'" + log.string() + "' 2>&1";
    status_ = std::system(command.c_str());
    std::ifstream logIn(log);
    log_.assign(std::istreambuf_iterator<char>(logIn), {});
    std::ifstream in(res, std::ios::binary);
    const std::vector<std::uint8_t> bytes(std::istreambuf_iterator<char>(in), {});
    std::filesystem::remove_all(dir);
    if (status_ == 0) entries_ = readResFile(bytes);
  }

  void SetUp() override {
#ifndef _WIN32
    if (*kWindresCommand == '\0') GTEST_SKIP() << "windres for x86_64-w64-mingw32 is not installed";
#endif
    ASSERT_EQ(status_, 0) << "windres failed:\n" << log_;
  }

  static const ResEntry& entry(int type, int name, const std::string& typeName = "") {
    for (const ResEntry& e : entries_) {
      if (e.type.number == type && e.type.text == typeName && e.name.number == name) return e;
    }
    throw std::runtime_error("no resource " + std::to_string(type) + typeName + "/" + std::to_string(name));
  }

  static inline int status_ = -1;
  static inline std::string log_;
  static inline std::vector<ResEntry> entries_;
};

TEST_F(ResourceScript, HoldsExactlyTheListedResourcesInFrench) {
  std::vector<std::string> found;
  for (const ResEntry& e : entries_) {
    const std::string type = e.type.number >= 0 ? std::to_string(e.type.number) : e.type.text;
    found.push_back(type + "/" + std::to_string(e.name.number));
    EXPECT_EQ(e.language, kFrenchFrance) << found.back();
  }
  std::sort(found.begin(), found.end());
  // Icon images 1-3 are the pieces of icon group 128; string block 7 holds 96-111.
  const std::vector<std::string> expected = {"14/128", "16/1", "2/135", "3/1", "3/2", "3/3",
                                             "5/100", "5/102", "5/131", "6/7", "AVI/129"};
  EXPECT_EQ(found, expected);
}

TEST_F(ResourceScript, DialogsMatchTheTemplateData) {
  for (int id : {100, 102, 131}) {
    SCOPED_TRACE(id);
    const DialogTemplate& want = *findDialogTemplate(id);
    const ParsedDialog got = parseDialogResource(entry(RT_DIALOG_, id).data);
    EXPECT_EQ(got.extended, want.extended);
    EXPECT_EQ(got.helpId, 0u);
    EXPECT_EQ(got.style, want.style);
    EXPECT_EQ(got.exStyle, want.exStyle);
    EXPECT_EQ(got.x, want.x);
    EXPECT_EQ(got.y, want.y);
    EXPECT_EQ(got.w, want.w);
    EXPECT_EQ(got.h, want.h);
    EXPECT_EQ(got.menu, "");
    EXPECT_EQ(got.windowClass, "");
    EXPECT_EQ(got.title, want.title);
    EXPECT_EQ(got.fontName, want.fontName);
    EXPECT_EQ(got.pointSize, want.pointSize);
    EXPECT_EQ(got.weight, want.weight);
    EXPECT_EQ(got.italic, want.italic);
    EXPECT_EQ(got.charset, want.charset);
    ASSERT_EQ(got.controls.size(), want.controls.size());
    for (std::size_t i = 0; i < want.controls.size(); ++i) {
      SCOPED_TRACE(i + 1);
      const ParsedControl& c = got.controls[i];
      const ControlTemplate& w = want.controls[i];
      EXPECT_EQ(c.id, w.id);
      // windres writes class names in capitals; window classes ignore case.
      EXPECT_EQ(upper(c.windowClass), upper(w.windowClass));
      EXPECT_EQ(c.text, w.text);
      EXPECT_EQ(c.textOrdinal, w.textResource);
      EXPECT_EQ(c.x, w.x);
      EXPECT_EQ(c.y, w.y);
      EXPECT_EQ(c.w, w.w);
      EXPECT_EQ(c.h, w.h);
      EXPECT_EQ(c.style, w.style);
      EXPECT_EQ(c.exStyle, 0u);
    }
  }
}

TEST_F(ResourceScript, StringTableHoldsOnlyString101) {
  const std::vector<std::uint8_t>& block = entry(RT_STRING_, 101 / 16 + 1).data;
  std::size_t at = 0;
  for (int n = 96; n < 112; ++n) {
    ASSERT_LE(at + 2, block.size());
    const std::size_t length = block[at] | block[at + 1] << 8;
    at += 2;
    std::u16string text;
    for (std::size_t i = 0; i < length; ++i, at += 2) {
      text += static_cast<char16_t>(block[at] | block[at + 1] << 8);
    }
    EXPECT_EQ(utf16ToUtf8(text), loadResourceString(n)) << n;
  }
  EXPECT_EQ(loadResourceString(101), "&A propos de Nestiq...");
}

TEST_F(ResourceScript, PicturesAreTheEmbeddedFiles) {
  auto clip = resourceData(ResourceType::Clip, 129);
  EXPECT_TRUE(std::ranges::equal(entry(-1, 129, "AVI").data, clip));  // zero bytes after the form included

  auto bmp = resourceData(ResourceType::Bitmap, 135);
  EXPECT_TRUE(std::ranges::equal(entry(RT_BITMAP_, 135).data, bmp.subspan(14)));  // without the file header

  // The group lists the .ico's entries with image numbers in place of file offsets.
  auto ico = resourceData(ResourceType::Icon, 128);
  const std::vector<std::uint8_t>& group = entry(RT_GROUP_ICON_, 128).data;
  ASSERT_EQ(group.size(), 6u + 3 * 14);
  EXPECT_TRUE(std::equal(group.begin(), group.begin() + 6, ico.begin()));
  for (std::size_t i = 0; i < 3; ++i) {
    SCOPED_TRACE(i + 1);
    const std::size_t g = 6 + 14 * i, f = 6 + 16 * i;
    EXPECT_TRUE(std::equal(group.begin() + static_cast<std::ptrdiff_t>(g),
                           group.begin() + static_cast<std::ptrdiff_t>(g + 12), ico.begin() + static_cast<std::ptrdiff_t>(f)));
    EXPECT_EQ(group[g + 12] | group[g + 13] << 8, static_cast<int>(i + 1));
    const std::size_t size = ico[f + 8] | ico[f + 9] << 8 | ico[f + 10] << 16;
    const std::size_t offset = ico[f + 12] | ico[f + 13] << 8 | ico[f + 14] << 16;
    EXPECT_TRUE(std::ranges::equal(entry(RT_ICON_, static_cast<int>(i + 1)).data, ico.subspan(offset, size)));
  }
}

TEST_F(ResourceScript, VersionBlock) {
  const VersionNode root = parseVersionResource(entry(RT_VERSION_, 1).data);
  EXPECT_EQ(root.key, "VS_VERSION_INFO");
  ASSERT_EQ(root.value.size(), 52u);
  auto field = [&](std::size_t i) {
    const std::size_t at = 4 * i;
    return static_cast<std::uint32_t>(root.value[at] | root.value[at + 1] << 8 | root.value[at + 2] << 16 |
                                      root.value[at + 3] << 24);
  };
  EXPECT_EQ(field(0), 0xFEEF04BDu);  // signature
  EXPECT_EQ(field(2), 3u << 16 | 1);  // file version 3.1
  EXPECT_EQ(field(3), 0u);            //              .0.0
  EXPECT_EQ(field(4), 3u << 16 | 1);  // product version
  EXPECT_EQ(field(5), 0u);
  EXPECT_EQ(field(6), 0x3Fu);  // flags mask
  EXPECT_EQ(field(7), 0u);     // flags
  EXPECT_EQ(field(8), 0x4u);   // VOS__WINDOWS32
  EXPECT_EQ(field(9), 0x1u);   // VFT_APP
  EXPECT_EQ(field(10), 0u);    // subtype
  EXPECT_EQ(field(11), 0u);    // date
  EXPECT_EQ(field(12), 0u);

  ASSERT_EQ(root.children.size(), 2u);
  const VersionNode& strings = root.children[0];
  EXPECT_EQ(strings.key, "StringFileInfo");
  ASSERT_EQ(strings.children.size(), 1u);
  EXPECT_EQ(strings.children[0].key, "040c04b0");
  std::vector<std::string> keys;
  std::map<std::string, std::string> values;
  for (const VersionNode& s : strings.children[0].children) {
    keys.push_back(s.key);
    values[s.key] = s.text;
  }
  EXPECT_EQ(keys, (std::vector<std::string>{"Comments", "CompanyName", "FileDescription", "FileVersion",
                                            "InternalName", "LegalCopyright", "LegalTrademarks",
                                            "OriginalFilename", "PrivateBuild", "ProductName",
                                            "ProductVersion", "SpecialBuild"}));
  EXPECT_EQ(values["FileVersion"], "3, 1, 0, 0");
  EXPECT_EQ(values["ProductVersion"], "3, 1, 0, 0");
  EXPECT_EQ(values["FileDescription"], "Paramétrage de la box Nestiq");  // accents survive
  for (const char* empty : {"Comments", "CompanyName", "LegalTrademarks", "PrivateBuild", "SpecialBuild"}) {
    EXPECT_EQ(values[empty], "") << empty;
  }

  const VersionNode& vars = root.children[1];
  EXPECT_EQ(vars.key, "VarFileInfo");
  ASSERT_EQ(vars.children.size(), 1u);
  EXPECT_EQ(vars.children[0].key, "Translation");
  EXPECT_EQ(vars.children[0].value, (std::vector<std::uint8_t>{0x0C, 0x04, 0xB0, 0x04}));  // 0x040C, 1200
}

}  // namespace
