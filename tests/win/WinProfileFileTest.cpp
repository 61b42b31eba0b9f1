#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <sstream>

#include "win/base/Text.h"
#include "config/Config.h"
#include "win/platform/WinProfileFile.h"

namespace vq::win {
namespace {

// A temporary folder (with its trailing backslash) holding at most a Vornquill.ini.
class WinProfileFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    folder = std::wstring(temp) + L"vq-profile-" + std::to_wstring(GetCurrentProcessId()) + L"\\";
    CreateDirectoryW(folder.c_str(), nullptr);
  }
  void TearDown() override {
    DeleteFileW((folder + L"Vornquill.ini").c_str());
    RemoveDirectoryW(folder.c_str());
  }
  std::string Bytes() const {
    std::ifstream in((folder + L"Vornquill.ini").c_str(), std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
  }
  void WriteBytes(const std::string& bytes) const {
    std::ofstream((folder + L"Vornquill.ini").c_str(), std::ios::binary) << bytes;
  }

  std::wstring folder;
};

TEST_F(WinProfileFileTest, ExistsOnlyOnceTheFileIsThereEvenEmpty) {
  WinProfileFile file(folder, L"Vornquill");
  EXPECT_FALSE(file.Exists());
  EXPECT_EQ(file.Read("a1", "b7"), "");
  WriteBytes("");
  EXPECT_TRUE(file.Exists());
}

TEST_F(WinProfileFileTest, WritesTheAnsiCodePageWithCrLfAndReadsBackIgnoringCase) {
  WinProfileFile file(folder, L"Vornquill");
  ASSERT_TRUE(file.Write("Fusen", "FontName", "ＭＳ Ｐゴシック"));
  ASSERT_TRUE(file.Write("vmc", "Left", "1200"));
  EXPECT_EQ(file.Read("vmc", "left"), "1200");
  EXPECT_EQ(file.Read("VMC", "LEFT"), "1200");
  EXPECT_EQ(file.Read("fusen", "fontname"), "ＭＳ Ｐゴシック");

  std::string ansi;
  std::wstring face = Widen("ＭＳ Ｐゴシック");
  int n = WideCharToMultiByte(CP_ACP, 0, face.c_str(), -1, nullptr, 0, nullptr, nullptr);
  ansi.resize(n - 1);
  WideCharToMultiByte(CP_ACP, 0, face.c_str(), -1, ansi.data(), n, nullptr, nullptr);
  EXPECT_EQ(Bytes(), "[Fusen]\r\nFontName=" + ansi + "\r\n[vmc]\r\nLeft=1200\r\n");
}

TEST_F(WinProfileFileTest, CreateWritesWhatKeyByKeyWritesWouldAndNeverReplacesAFile) {
  const ProfileSections sections = {{"a1", {{"b01", "110"}, {"b02", ""}}},
                                    {"Fusen", {{"FontName", "ＭＳ Ｐゴシック"}, {"Top", "0"}}},
                                    {"vmc", {{"Left", "0"}}}};
  WinProfileFile file(folder, L"Vornquill");
  for (const auto& [section, keys] : sections)
    for (const auto& [key, value] : keys) ASSERT_TRUE(file.Write(section, key, value));
  std::string keyByKey = Bytes();
  EXPECT_FALSE(file.Create(sections));
  EXPECT_EQ(Bytes(), keyByKey);
  DeleteFileW((folder + L"Vornquill.ini").c_str());
  ASSERT_TRUE(file.Create(sections));
  EXPECT_EQ(Bytes(), keyByKey);
  EXPECT_EQ(file.Read("fusen", "fontname"), "ＭＳ Ｐゴシック");
}

TEST_F(WinProfileFileTest, LongValuesAreCutToTheBuffer) {
  WriteBytes("[Lunch0]\r\n0=" + std::string(3000, 'x') + "\r\n");
  WinProfileFile file(folder, L"Vornquill");
  EXPECT_EQ(file.Read("Lunch0", "0"), std::string(1023, 'x'));
}

TEST_F(WinProfileFileTest, ASectionReadWholeGivesEachKeyWhatReadingItAloneGives) {
  // Spaces, quotes, a key twice, lines without "=", case, a comment line (left out of the
  // section), values past the buffer, a second section of the same name, and lines enough to
  // outgrow the first buffer.
  std::string text =
      "[lunch0]\r\n 0 = spaced \r\n1=\"quoted\"\r\n2='single'\r\n3=\"\r\n4=\"\"\r\n5=\"half\r\n"
      "2=again\r\nsix\r\n;7=comment\r\nKey=Case\r\n8=" +
      std::string(3000, 'x') + "\r\n9=\"" + std::string(1100, 'y') + "\"\r\n10=a=b\r\n11=\t'tab'\t\r\n";
  for (int i = 0; i < 400; ++i) text += "k" + std::to_string(i) + "=" + std::string(20, 'z') + "\r\n";
  WriteBytes(text + "[Lunch0]\r\n12=second section\r\n[other]\r\n13=elsewhere\r\n");
  WinProfileFile file(folder, L"Vornquill");
  const ProfileKeys keys = file.ReadSection("Lunch0");
  for (const char* key : {"0", "1", "2", "3", "4", "5", "six", "key", "8", "9", "10", "11", "k399", "12", "13"})
    EXPECT_EQ(vq::ValueOf(keys, key), file.Read("Lunch0", key)) << key;
  EXPECT_EQ(vq::ValueOf(keys, "k0"), std::string(20, 'z'));
  EXPECT_TRUE(file.ReadSection("missing").empty());
}

TEST_F(WinProfileFileTest, BackslashAtTheEndOfAPathIsKept) {
  WinProfileFile file(folder, L"Vornquill");
  ASSERT_TRUE(file.Write("Lunch1", "3", "C:\\Windows\\"));
  EXPECT_EQ(file.Read("Lunch1", "3"), "C:\\Windows\\");
}

TEST(Text, WidenAndNarrowRoundTrip) {
  for (const char* s : {"", "Vornquill2", "付箋紙(非表示タグ)", "ｶﾀｶﾅ and 𠮷"}) EXPECT_EQ(Narrow(Widen(s)), s);
}

}  // namespace
}  // namespace vq::win
