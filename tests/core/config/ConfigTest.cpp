#include <gtest/gtest.h>

#include "config/Config.h"
#include "fakes/FakeProfileFile.h"

namespace vq {
namespace {

using test::FakeProfileFile;

// Written in one go; the file reads the same as if written key by key in the order the defaults
// are listed, since the note editor's place joins the end of "Fusen".
TEST(Config, FirstStartWritesTheTwentySevenDefaultsInOrder) {
  FakeProfileFile file;
  Config config(file);
  EXPECT_TRUE(config.EnsureDefaults("D:\\Users\\hana\\Startup"));

  const std::vector<ProfileEntry> expected = {
      {"a1", "b01", "110"},
      {"a1", "b02", ""},
      {"a1", "b03", ""},
      {"a1", "b04", ""},
      {"a1", "b11", "110"},
      {"a1", "b12", ""},
      {"a1", "b13", ""},
      {"a1", "b14", ""},
      {"a1", "b21", "110"},
      {"a1", "b22", ""},
      {"a1", "b23", ""},
      {"a1", "b24", ""},
      {"a1", "b5", "0"},
      {"a1", "Mailler", "D:\\Program Files\\Outlook Express\\msimn.exe"},
      {"a1", "b6", "1"},
      {"a1", "b7", "True"},
      {"a1", "b8", "False"},
      {"Fusen", "FontName", "ＭＳ Ｐゴシック"},
      {"Fusen", "FontSize", "9"},
      {"Fusen", "BackColor", "&HFFFFFF"},
      {"Fusen", "ForeColor", "&H0"},
      {"Fusen", "Top", "0"},
      {"Fusen", "Left", "0"},
      {"Option", "Top", "0"},
      {"Option", "Left", "0"},
      {"vmc", "Top", "0"},
      {"vmc", "Left", "0"},
  };
  EXPECT_EQ(file.writes, expected);
  EXPECT_EQ(file.creates, 1);
  // The listed order of the defaults themselves.
  auto defaults = DefaultSettings("D:\\");
  ASSERT_EQ(defaults.size(), 27u);
  EXPECT_EQ(defaults[21].section + "/" + defaults[21].key, "Option/Top");
  EXPECT_EQ(defaults[25].section + "/" + defaults[25].key, "Fusen/Top");
}

TEST(Config, MailerDefaultWithoutStartupFolderHasNoDriveLetter) {
  auto defaults = DefaultSettings("");
  EXPECT_EQ(defaults[13].key, "Mailler");
  EXPECT_EQ(defaults[13].value, ":\\Program Files\\Outlook Express\\msimn.exe");
  // The drive is the first whole character, even where it is not ASCII.
  EXPECT_EQ(DefaultSettings("Ｚ:\\x")[13].value, "Ｚ:\\Program Files\\Outlook Express\\msimn.exe");
}

TEST(Config, ExistingFileIsNeverWrittenEvenWhenEmpty) {
  FakeProfileFile file;
  file.MakeEmptyFile();
  Config config(file);
  EXPECT_TRUE(config.EnsureDefaults("C:\\"));
  EXPECT_TRUE(file.writes.empty());
  EXPECT_EQ(config.ReadOption("a1", "b7"), "");
  EXPECT_EQ(config.ReadOption("Lunch0", "0"), "");
}

TEST(Config, FailedDefaultWritesAreReportedButAllAttempted) {
  FakeProfileFile file;
  file.failWrites = true;
  Config config(file);
  EXPECT_FALSE(config.EnsureDefaults("C:\\"));
  EXPECT_EQ(file.writes.size(), 27u);
}

TEST(Config, ColourTextsReadBackAsNumbers) {
  const struct {
    const char* text;
    std::optional<std::uint32_t> value;
  } cases[] = {
      {"&HFFFFFF", 16777215u},     {"&H0", 0u},
      {"&h80000005", 0x80000005u}, {"&Hff", 255u},
      {"&HFFFFFFFF", 0xFFFFFFFFu}, {"", std::nullopt},
      {"&H", std::nullopt},        {"FFFFFF", std::nullopt},
      {"&HXYZ", std::nullopt},     {"&H123456789", std::nullopt},
      {"16777215", std::nullopt},  {"&H FF", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseColour(c.text), c.value) << c.text;
}

TEST(Config, ColoursAreWrittenUpperCaseWithoutLeadingZeros) {
  EXPECT_EQ(FormatColour(0), "&H0");
  EXPECT_EQ(FormatColour(0xFFFFFF), "&HFFFFFF");
  EXPECT_EQ(FormatColour(0x00C0FF), "&HC0FF");
  EXPECT_EQ(FormatColour(0x8000000F), "&H8000000F");
  for (std::uint32_t c : {0u, 1u, 0xABCDEFu, 0x80000005u}) EXPECT_EQ(ParseColour(FormatColour(c)), c);
}

// A section read whole answers as Read would: the whole name, any case, its first line.
TEST(Config, ValueOfTakesTheFirstLineOfExactlyThatKey) {
  const ProfileKeys keys = {{"10", "ten"}, {"1", "one"}, {"Key", "first"}, {"KEY", "again"}};
  EXPECT_EQ(ValueOf(keys, "1") + ValueOf(keys, "key") + ValueOf(keys, "2"), "onefirst");
}

TEST(Config, FlagsCompareExactlyAndCaseSensitively) {
  EXPECT_TRUE(IsTrueFlag("True"));
  for (const char* t : {"true", "TRUE", " True", "True ", "", "1", "False"}) EXPECT_FALSE(IsTrueFlag(t)) << t;
  EXPECT_TRUE(IsCheckedFlag("1"));
  for (const char* t : {"0", "01", "1 ", "True", ""}) EXPECT_FALSE(IsCheckedFlag(t)) << t;
}

TEST(Config, OnlyZeroOrNothingSwitchesThePeriodicCheckOff) {
  EXPECT_FALSE(IntervalEnablesPeriodicCheck(""));
  EXPECT_FALSE(IntervalEnablesPeriodicCheck("0"));
  EXPECT_TRUE(IntervalEnablesPeriodicCheck("5"));
  EXPECT_TRUE(IntervalEnablesPeriodicCheck("00"));
}

}  // namespace
}  // namespace vq
