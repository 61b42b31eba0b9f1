#include <gtest/gtest.h>

#include "fakes/FakeNoteFiles.h"
#include "notes/NoteRecord.h"
#include "notes/NoteStore.h"

namespace vq {
namespace {

using test::FakeNoteFiles;
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
  std::string text = RecordText(values);
  auto lines = ParseRecordText(text);
  EXPECT_TRUE(IsUsableRecord(text, lines));
  EXPECT_EQ(NoteFromRecord(lines, "").layer, NoteLayer::kNormal);
}

TEST(NoteRecord, ExtraLinesAreReadButNotUsed) {
  auto values = SampleRecord("True", "True");
  values.push_back("extra");
  auto lines = ParseRecordText(RecordText(values));
  EXPECT_EQ(lines.size(), 16u);
  EXPECT_EQ(NoteFromRecord(lines, "").layer, NoteLayer::kTopmost);
}

TEST(NoteRecord, RecordsThatAreNotRecordsAreRefused) {
  auto usable = [](const std::string& text) { return IsUsableRecord(text, ParseRecordText(text)); };
  EXPECT_FALSE(usable(""));
  EXPECT_FALSE(usable(RecordText({"a", "b", "c"})));
  EXPECT_FALSE(usable(std::string("\"x\"\r\n\0\1\2binary", 14) + RecordText(SampleRecord())));
  auto longLine = SampleRecord();
  longLine[0] = std::string(2000, 'F');
  EXPECT_FALSE(usable(RecordText(longLine)));
  EXPECT_TRUE(usable(RecordText(SampleRecord())));
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

TEST(NoteRecord, FontSizesKeepTheirHalves) {
  EXPECT_EQ(FormatFontSize(9), "9");
  EXPECT_EQ(FormatFontSize(10.5), "10.5");
  EXPECT_EQ(FormatFontSize(9.75), "9.75");
  EXPECT_EQ(ParseFontSize("10.5"), 10.5);
  EXPECT_EQ(ParseFontSize(" 12 "), 12);
  for (const char* bad : {"", "0", "-9", "10,5", "abc", "1.2.3", "99999"})
    EXPECT_EQ(ParseFontSize(bad), std::nullopt) << bad;
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

TEST(NoteStore, FreeNumberIsTheLowestGap) {
  FakeNoteFiles files;
  NoteStore store(files);
  EXPECT_EQ(store.FindFreeNoteNumber(), 0);
  for (int n : {0, 1, 3}) files.files[NoteRecordFileName(n)] = RecordText(SampleRecord());
  files.files["Vornquill2.log"] = "a text without a record does not take the number\r\n";
  EXPECT_EQ(store.FindFreeNoteNumber(), 2);
  for (int n = 0; n <= 100; ++n) files.files[NoteRecordFileName(n)] = "";
  EXPECT_EQ(store.FindFreeNoteNumber(), std::nullopt);
}

TEST(NoteStore, SetRecordLineAddsTheStackingLineToAFourteenLineRecord) {
  FakeNoteFiles files;
  NoteStore store(files);
  auto values = SampleRecord();
  values.pop_back();
  files.files["Vornquill5.hsn"] = RecordText(values);
  ASSERT_TRUE(store.SetRecordLine(5, kLayerLine, "True"));
  values.push_back("True");
  EXPECT_EQ(files.files["Vornquill5.hsn"], RecordText(values));

  ASSERT_TRUE(store.SetRecordLine(5, kVisibleLine, "False"));
  values[6] = "False";
  EXPECT_EQ(files.files["Vornquill5.hsn"], RecordText(values));
  EXPECT_FALSE(store.SetRecordLine(6, kVisibleLine, "False"));  // no such note
  EXPECT_FALSE(files.Exists("Vornquill6.hsn"));
}

TEST(NoteStore, FailedWritesLeaveTheOldFile) {
  FakeNoteFiles files;
  NoteStore store(files);
  files.files["Vornquill0.hsn"] = RecordText(SampleRecord());
  files.failWrites = true;
  EXPECT_FALSE(store.SetRecordLine(0, kLayerLine, "True"));
  EXPECT_EQ(files.files["Vornquill0.hsn"], RecordText(SampleRecord()));
}

TEST(NoteStore, DeletingSkipsMissingFiles) {
  FakeNoteFiles files;
  NoteStore store(files);
  files.files["Vornquill9.hsn"] = RecordText(SampleRecord());
  store.DeleteNoteFiles(9);
  store.DeleteNoteFiles(9);
  EXPECT_TRUE(files.files.empty());
}

TEST(NoteStore, LoadNamesWhatIsWrong) {
  FakeNoteFiles files;
  NoteStore store(files);
  EXPECT_EQ(store.Load(0).status, NoteStore::LoadStatus::kNoRecord);
  files.files["Vornquill0.hsn"] = RecordText(SampleRecord());
  EXPECT_EQ(store.Load(0).status, NoteStore::LoadStatus::kNoText);
  files.files["Vornquill0.log"] = "text\r\n";
  EXPECT_EQ(store.Load(0).status, NoteStore::LoadStatus::kOk);
  EXPECT_EQ(store.Load(0).text, "text");
  files.undecodable["Vornquill0.log"] = true;
  EXPECT_EQ(store.Load(0).status, NoteStore::LoadStatus::kBadText);
  files.files["Vornquill0.hsn"] = "garbage";
  EXPECT_EQ(store.Load(0).status, NoteStore::LoadStatus::kBadRecord);
}

}  // namespace
}  // namespace vq
