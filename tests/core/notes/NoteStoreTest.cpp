#include <gtest/gtest.h>

#include "fakes/FakeNoteFiles.h"
#include "notes/NoteStore.h"

namespace vq::notes {
namespace {

using test::FakeNoteFiles;
using test::RecordText;
using test::SampleRecord;

TEST(NoteStore, FreeNumberIsTheLowestGap) {
  FakeNoteFiles files;
  NoteStore store(files);
  EXPECT_EQ(store.FindFreeNoteNumber(), 0);
  for (int n : {0, 1, 3}) files.files[NoteRecordFileName(n)] = RecordText(SampleRecord());
  EXPECT_EQ(store.FindFreeNoteNumber(), 2);
  // A text without its record is what a crash between the two writes leaves: never overwritten.
  files.files["Vornquill2.log"] = "a text without a record\r\n";
  EXPECT_EQ(store.FindFreeNoteNumber(), 4);
  EXPECT_EQ(store.FindFreeNoteNumber({4, 5}), 6);
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
  EXPECT_EQ(store.DeleteNoteFiles(9), std::nullopt);
  EXPECT_EQ(store.DeleteNoteFiles(9), std::nullopt);
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
}  // namespace vq::notes
