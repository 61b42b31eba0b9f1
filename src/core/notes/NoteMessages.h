#pragma once
#include <string>

#include "notes/NoteRecord.h"
#include "notes/NoteStore.h"

namespace vq::notes {

inline constexpr char kAllNotesTakenMessage[] = "付箋紙は101枚までです。不要な付箋紙をはがしてから作成してください。";
inline constexpr char kPeelQuestion[] = "このタグを消去しますか？";
// After Yes to kPeelQuestion, when the note cannot be kept for bringing back.
inline constexpr char kCannotKeepQuestion[] = "はがした付箋紙に保存できません。この付箋紙を完全に削除しますか？";

inline std::string MissingTextMessage(int number) { return NoteTextFileName(number) + "が見つかりません"; }
inline std::string UnreadableFileMessage(const std::string& fileName) { return fileName + "を読み込めませんでした。"; }
inline std::string SaveFailedMessage(int number) {
  return NoteRecordFileName(number) + "を保存できませんでした。付箋紙の変更はファイルに残っていません。";
}
inline std::string DeleteFailedMessage(const std::string& fileName) { return fileName + "を削除できませんでした。"; }

// What the user is told when a note's files could not be loaded; nothing for a note that
// simply is not there.
inline std::string LoadFailureMessage(int number, NoteStore::LoadStatus status) {
  switch (status) {
    case NoteStore::LoadStatus::kBadRecord:
      return UnreadableFileMessage(NoteRecordFileName(number));
    case NoteStore::LoadStatus::kNoText:
      return MissingTextMessage(number);
    case NoteStore::LoadStatus::kBadText:
      return UnreadableFileMessage(NoteTextFileName(number));
    case NoteStore::LoadStatus::kOk:
    case NoteStore::LoadStatus::kNoRecord:
      break;
  }
  return {};
}

}  // namespace vq::notes
