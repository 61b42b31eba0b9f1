#include <gtest/gtest.h>

#include "fakes/FakeNoteFiles.h"
#include "notes/NoteRecord.h"

namespace vq::notes {
namespace {

using test::RecordText;
using test::SampleRecord;

TEST(NoteRecord, ValuesAreQuotedLinesWithCrLf) {
  Note note;
  note.text = "x";
  note.font = {"ＭＳ Ｐゴシック", 10.5, true, false};
  note.backColor = 0x80FFFF;
  note.foreColor = 0x8000000F;
  note.top = 2400;
  note.left = -300;
  note.alarm = {"2027", "01", "05", "09", "30"};
  note.layer = NoteLayer::kDesktop;
  EXPECT_EQ(FormatRecordText(RecordFromNote(note)),
            "\"ＭＳ Ｐゴシック\"\r\n\"10.5\"\r\n\"True\"\r\n\"False\"\r\n\"&H80FFFF\"\r\n\"&H8000000F\"\r\n\"True\"\r\n"
            "\"2400\"\r\n\"-300\"\r\n\"2027\"\r\n\"01\"\r\n\"05\"\r\n\"09\"\r\n\"30\"\r\n\"0\"\r\n");
  EXPECT_EQ(NoteFromRecord(ParseRecordText(FormatRecordText(RecordFromNote(note))), "x"), note);
}

TEST(NoteRecord, ReadingRuleForQuotedAndUnquotedLines) {
  EXPECT_EQ(ParseRecordText("\"a b\"\r\n\"\"\r\n  plain value , rest\r\n\"open\r\n\"x\"tail\r\nlast"),
            (RecordLines{"a b", "", "plain value", "open", "x", "last"}));
  EXPECT_EQ(ParseRecordText("\"a\"\n\"b\"\r\"c\"\r\n"), (RecordLines{"a", "b", "c"}));
  EXPECT_TRUE(ParseRecordText("").empty());
}

TEST(NoteRecord, FourteenLineRecordsReadAsOrdinaryStacking) {
  auto values = SampleRecord("True", "True");
  values.pop_back();
  auto lines = ReadRecordText(RecordText(values));
  ASSERT_TRUE(lines);
  EXPECT_EQ(NoteFromRecord(*lines, "").layer, NoteLayer::kNormal);
}

TEST(NoteRecord, ExtraLinesAreReadButNotUsed) {
  auto values = SampleRecord("True", "True");
  values.push_back("extra");
  auto lines = ParseRecordText(RecordText(values));
  EXPECT_EQ(lines.size(), 16u);
  EXPECT_EQ(NoteFromRecord(lines, "").layer, NoteLayer::kTopmost);
}

// The reader takes exactly what the writer can give back: a record it accepts is written
// again as it was read, and one it could not write back is refused as a whole.
TEST(NoteRecord, RecordsThatAreNotRecordsAreRefused) {
  auto with = [](int line, const std::string& raw) {
    std::string text;
    auto values = SampleRecord();
    for (int i = 0; i < static_cast<int>(values.size()); ++i)
      text += (i == line ? raw : "\"" + values[i] + "\"") + "\r\n";
    return text;
  };
  auto extraLines = [](std::size_t count, const std::string& line) {
    std::string text = RecordText(SampleRecord());
    for (std::size_t i = 0; i < count; ++i) text += line + "\r\n";
    return text;
  };
  struct Case {
    const char* what;
    std::string text;
    bool usable;
  };
  const Case cases[] = {
      {"a sample", RecordText(SampleRecord()), true},
      {"empty", "", false},
      {"three lines", RecordText({"a", "b", "c"}), false},
      {"binary", std::string("\"x\"\r\n\0\1\2binary", 14) + RecordText(SampleRecord()), false},
      {"a line of 2000", with(0, std::string(2000, 'F')), false},
      {"quoted value of 1022", with(0, "\"" + std::string(1022, 'F') + "\""), true},
      {"unquoted value of 1022", with(0, std::string(1022, 'F')), true},
      // Quoted by the writer it would be 1025 or 1026 bytes long.
      {"unquoted value of 1023", with(0, std::string(1023, 'F')), false},
      {"unquoted value of 1024", with(0, std::string(1024, 'F')), false},
      {"a quote inside an unquoted value", with(0, "Arial \"Bold\""), false},
      {"text after the closing quote", with(0, "\"Arial\" Bold"), true},
      {"unknown lines up to 64 in all", extraLines(kMostRecordLines - kRecordLines, "\"extra\""), true},
      {"65 lines", extraLines(kMostRecordLines - kRecordLines + 1, ""), false},
      {"a million empty lines", extraLines(1000000, ""), false},
  };
  for (const Case& c : cases) {
    auto lines = ReadRecordText(c.text);
    EXPECT_EQ(lines.has_value(), c.usable) << c.what;
    if (!lines) continue;
    auto again = ReadRecordText(FormatRecordText(*lines));
    EXPECT_EQ(again, lines) << c.what;
  }
}

// Values that come from elsewhere (a face name from the settings file) are written so that
// they read back as written, and stay so.
TEST(NoteRecord, WhatIsWrittenReadsBack) {
  const std::string long3 = std::string(1021, 'a') + "あ";  // the cut must not split a character
  const std::pair<std::string, std::string> values[] = {
      {"ＭＳ Ｐゴシック", "ＭＳ Ｐゴシック"}, {"My \"Quoted\" Font", "My Quoted Font"},
      {"two\r\nlines\t", "twolines\t"},       {std::string(2000, 'F'), std::string(kLongestRecordValue, 'F')},
      {long3, std::string(1021, 'a')},
  };
  for (const auto& [given, written] : values) {
    auto record = SampleRecord();
    record[0] = given;
    std::string text = FormatRecordText(record);
    auto read = ReadRecordText(text);
    ASSERT_TRUE(read) << given;
    EXPECT_EQ((*read)[0], written);
    EXPECT_EQ(FormatRecordText(*read), text);
  }
}

TEST(NoteRecord, ValuesOfTheWrongFormFallBackToNewNoteDefaults) {
  RecordLines lines = {"Arial", "huge", "true", "1", "white", "&HZZ", "", "top", "1e9", "", "", "", "", "", "on"};
  Note note = NoteFromRecord(lines, "t");
  EXPECT_EQ(note.font, (NoteFont{"Arial", 9, false, false}));
  EXPECT_EQ(note.backColor, 0xFFFFFFu);
  EXPECT_EQ(note.foreColor, 0u);
  EXPECT_TRUE(note.visible);  // only "False" hides a note
  EXPECT_EQ(note.top, 0);
  EXPECT_EQ(note.left, 0);
  EXPECT_EQ(note.layer, NoteLayer::kNormal);
}

TEST(NoteRecord, FontSizesReadBackAsWritten) {
  struct Case {
    const char* text;
    std::optional<double> size;
    const char* written;  // how that size is written again
  };
  const Case cases[] = {
      {"9", 9, "9"},
      {"10.5", 10.5, "10.5"},
      {" 12 ", 12, "12"},
      {"9.75", 9.75, "9.75"},
      {"1.7", 1.7, "1.7"},
      {"0.1", 0.1, "0.1"},
      {"0.01", 0.01, "0.01"},
      {"0.005", 0.01, "0.01"},
      {"10.50", 10.5, "10.5"},
      {"8.125", 8.13, "8.13"},
      {"1638", 1638, "1638"},
      {"1638.004", 1638, "1638"},
      {"0.004", std::nullopt, ""},
      {"0", std::nullopt, ""},
      {"-9", std::nullopt, ""},
      {"10,5", std::nullopt, ""},
      {"abc", std::nullopt, ""},
      {"1.2.3", std::nullopt, ""},
      {".", std::nullopt, ""},
      {"", std::nullopt, ""},
      {"99999", std::nullopt, ""},
      {"1e3", std::nullopt, ""},
  };
  for (const Case& c : cases) {
    auto size = ParseFontSize(c.text);
    EXPECT_EQ(size, c.size) << c.text;
    if (size) {
      EXPECT_EQ(FormatFontSize(*size), c.written) << c.text;
    }
  }
  // Every size the writer can write reads back as the very same number.
  for (int hundredths = 1; hundredths <= 163800; hundredths += 7) {
    double size = hundredths / 100.0;
    EXPECT_EQ(ParseFontSize(FormatFontSize(size)), size) << hundredths;
  }
  // Sizes beyond what is read are written as the nearest size that is.
  EXPECT_EQ(FormatFontSize(0.001), "0.01");
  EXPECT_EQ(FormatFontSize(5000), "1638");
}

TEST(NoteRecord, TextFileDropsExactlyOneFinalLineEnd) {
  EXPECT_EQ(NoteTextFileContent("一行目\r\n二行目"), "一行目\r\n二行目\r\n");
  EXPECT_EQ(NoteTextFromFile("一行目\r\n二行目\r\n"), "一行目\r\n二行目");
  EXPECT_EQ(NoteTextFromFile("末尾に空行\r\n\r\n"), "末尾に空行\r\n");
  EXPECT_EQ(NoteTextFromFile("no line end"), "no line end");
  for (const char* text : {"a", "a\r\n", "", "\r\n\r\n"}) EXPECT_EQ(NoteTextFromFile(NoteTextFileContent(text)), text);
}

TEST(NoteRecord, HiddenCaptionTakesSevenCharactersNotBytes) {
  EXPECT_EQ(HiddenNoteCaption("あいうえおかきくけこ"), "あいうえおかき(非表示タグ)");
  EXPECT_EQ(HiddenNoteCaption("メモ"), "メモ(非表示タグ)");
  EXPECT_EQ(HiddenNoteCaption("ab\r\ncdefg"), "ab  cde(非表示タグ)");
}

}  // namespace
}  // namespace vq::notes
