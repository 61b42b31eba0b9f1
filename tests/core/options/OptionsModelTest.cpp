#include <gtest/gtest.h>

#include "core/options/OptionsTest.h"
#include "options/OptionsModel.h"

namespace vq::options {
namespace {

// The new-window watch is ticked by exactly "1", as it is written.
TEST_F(OptionsTest, WatchFlagIsTickedOnlyByExactlyOne) {
  const std::pair<const char*, bool> cases[] = {{"1", true},   {"0", false},  {"01", false},         {"1x", false},
                                                {"+1", false}, {" 1", false}, {"4294967297", false}, {"", false}};
  for (const auto& [text, ticked] : cases) {
    file.Set("a1", "b6", text);
    EXPECT_EQ(LoadOptions(config).watchNewWindow, ticked) << text;
  }
}

// "b05", "b15", "b25" (security) and "b06", "b16", "b26" (protocol): read as the drop-downs'
// choices, written only once a choice other than the first is made or the key is there already,
// and a text this program does not know is kept.
TEST_F(OptionsTest, SecurityAndProtocolKeysAreReadAndWrittenOnlyWhenTheyMatter) {
  struct Row {
    char field;          // '5' security, '6' protocol
    const char* stored;  // nullptr: no key
    int shown;           // MailSecurity or MailProtocol
    int chosen;
    const char* written;  // nullptr: not written
  };
  constexpr int kFirst = 0, kSecond = 1, kThird = 2, kUnknownSecurity = 3, kUnknownProtocol = 2;
  const Row rows[] = {
      {'5', nullptr, kFirst, kFirst, nullptr},
      {'5', nullptr, kFirst, kSecond, "1"},
      {'5', nullptr, kFirst, kThird, "2"},
      {'5', "1", kSecond, kFirst, "0"},
      {'5', "0", kFirst, kFirst, "0"},
      {'5', "2", kThird, kThird, "2"},
      {'5', "3", kUnknownSecurity, kUnknownSecurity, nullptr},
      {'5', " 1", kUnknownSecurity, kSecond, "1"},
      {'6', nullptr, kFirst, kFirst, nullptr},
      {'6', nullptr, kFirst, kSecond, "1"},
      {'6', "1", kSecond, kFirst, "0"},
      {'6', "0", kFirst, kFirst, "0"},
      {'6', "2", kUnknownProtocol, kUnknownProtocol, nullptr},
      {'6', "imap", kUnknownProtocol, kSecond, "1"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(::testing::Message() << row.field << " " << (row.stored ? row.stored : "no key"));
    test::FakeProfileFile f;
    for (const auto& e : DefaultSettings("C:\\")) f.Set(e.section, e.key, e.value);
    const std::string key = std::string("b1") + row.field;
    if (row.stored) f.Set("a1", key, row.stored);
    Config c{f};
    OptionsValues v = LoadOptions(c);
    mail::MailAccountSettings& a = v.accounts[1];
    EXPECT_EQ(row.field == '5' ? static_cast<int>(a.security) : static_cast<int>(a.protocol), row.shown);
    EXPECT_TRUE(v.accounts[0].security == MailSecurity::kNone && v.accounts[0].protocol == MailProtocol::kPop3);
    if (row.field == '5')
      a.security = static_cast<MailSecurity>(row.chosen);
    else
      a.protocol = static_cast<MailProtocol>(row.chosen);
    ASSERT_TRUE(SaveOptions(c, v));
    std::vector<std::string> choiceWrites;
    for (const auto& w : f.writes)
      if (w.key.size() == 3 && (w.key.ends_with('5') || w.key.ends_with('6')))
        choiceWrites.push_back(w.key + "=" + w.value);
    EXPECT_EQ(choiceWrites,
              row.written ? std::vector<std::string>{key + "=" + row.written} : std::vector<std::string>{});
  }
}

// Choosing "SSL/TLS" moves the usual port 110 to 995, any other choice moves 995 back, and IMAP
// has 143 and 993 instead; a port the user typed stays.
TEST(OptionsModel, PortFollowsTheSecurityChoiceOnlyFromTheUsualPorts) {
  constexpr auto kPop3 = MailProtocol::kPop3, kImap = MailProtocol::kImap;
  constexpr auto kNone = MailSecurity::kNone, kTls = MailSecurity::kTls, kStartTls = MailSecurity::kStartTls;
  const std::tuple<const char*, MailProtocol, MailSecurity, const char*> rows[] = {
      {"110", kPop3, kTls, "995"},      {"995", kPop3, kNone, "110"},     {"995", kPop3, kStartTls, "110"},
      {"110", kPop3, kStartTls, "110"}, {"2110", kPop3, kTls, "2110"},    {"995", kPop3, kTls, "995"},
      {"0110", kPop3, kTls, "0110"},    {"110", kImap, kStartTls, "143"}, {"995", kImap, kTls, "993"},
      {"993", kPop3, kTls, "995"},      {"143", kImap, kTls, "993"},      {"143", MailProtocol::kUnknown, kNone, "143"},
  };
  for (const auto& [port, protocol, security, moved] : rows)
    EXPECT_EQ(PortAfterMailChoice(port, protocol, security), moved) << port << " " << static_cast<int>(protocol);
}

TEST_F(OptionsTest, IntervalFieldTakesDigitsAndBackspaceOnly) {
  for (char32_t c : {U'0', U'5', U'9', char32_t{8}}) EXPECT_TRUE(AcceptIntervalKey(c));
  for (char32_t c : {U'a', U'-', U' ', U'.', U'５'}) EXPECT_FALSE(AcceptIntervalKey(c));
  EXPECT_EQ(kIntervalMaxLength, 3u);
  EXPECT_EQ(FontSizeText(105), "10.5");
  EXPECT_EQ(FontSizeText(90), "9");
}

}  // namespace
}  // namespace vq::options
