#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <functional>

#include "win/base/Text.h"
#include "win/platform/WinNoteFiles.h"
#include "win/platform/WinProfileFile.h"

namespace vq::win {
namespace {

// The reader and the writer of note files share one limit, counted in the bytes of the
// file's code page: a text as large as the writer takes reads back, and a larger one is not
// written at all. A text comes back exactly when no character of it is named as lost.
TEST(WinNoteFiles, WriterTakesExactlyWhatTheReaderGivesBack) {
  if (GetACP() != 932) GTEST_SKIP() << "sizes are counted in Shift-JIS";
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  std::wstring folder = std::wstring(temp) + L"vq-notefiles-" + std::to_wstring(GetCurrentProcessId()) + L"\\";
  CreateDirectoryW(folder.c_str(), nullptr);
  WinNoteFiles files(folder);

  constexpr std::size_t kLimit = NoteFiles::kLargestFile;
  std::string kana;  // two bytes a character in the file, three in UTF-8
  for (std::size_t i = 0; i < (kLimit - 2) / 2; ++i) kana += "あ";
  struct Case {
    const char* what;
    std::string text;
    std::size_t stored;
    std::vector<std::string> lost = {};
  };
  const Case cases[] = {
      {"at the limit", kana + "\r\n", kLimit},
      {"one byte over", kana + "x\r\n", kLimit + 1},
      {"small", "メモ\r\n", 6},
      {"emoji", "メモ😀😀", 8, {"😀"}},
      {"best fit", "café", 4, {"é"}},
      {"Korean", "한국 한", 4, {"한", "국"}},
      {"NEC and half-width", "①ｱｲｳ", 5},
      {"cut pair", Narrow(std::wstring{L'a', 0xD83D}), 2, {"\xEF\xBF\xBD"}},
      {"empty", "", 0},
  };
  ASSERT_TRUE(files.Write("old.log", "old\r\n"));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(files.StoredSize(c.text), c.stored);
    EXPECT_EQ(files.UnstorableCharacters(c.text), c.lost);
    bool fits = c.stored <= kLimit;
    EXPECT_EQ(files.Write("old.log", c.text), fits);
    auto read = files.Read("old.log");
    EXPECT_EQ(read.status, NoteFiles::ReadStatus::kOk);
    EXPECT_EQ(read.text == c.text, fits && c.lost.empty());
    if (!fits) {
      // Such a file, written by other means, is refused by the reader.
      std::ofstream((folder + L"big.log").c_str(), std::ios::binary) << std::string(c.stored, 'x');
      EXPECT_EQ(files.Read("big.log").status, NoteFiles::ReadStatus::kUnreadable);
      ASSERT_TRUE(files.Write("old.log", "old\r\n"));
    }
  }
  for (const wchar_t* name : {L"old.log", L"big.log"}) DeleteFileW((folder + name).c_str());
  RemoveDirectoryW(folder.c_str());
}

struct Hold {
  HANDLE file;
  DWORD ms;
};
DWORD WINAPI ReleaseLater(void* hold) {
  Sleep(static_cast<Hold*>(hold)->ms);
  CloseHandle(static_cast<Hold*>(hold)->file);
  return 0;
}

// A scanner or a cloud folder holds a file just written, without sharing, for a moment: a
// write over it, a move of it and a settings write wait that out; a longer hold fails as before.
TEST(WinNoteFiles, ABriefHoldIsWaitedOut) {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  std::wstring folder = std::wstring(temp) + L"vq-held-" + std::to_wstring(GetCurrentProcessId()) + L"\\";
  CreateDirectoryW(folder.c_str(), nullptr);
  WinNoteFiles files(folder);
  WinProfileFile profile(folder, L"Vornquill");
  struct Case {
    const char* what;
    const wchar_t* held;
    DWORD holdMs;
    std::function<bool()> act;
    bool done;
  };
  const Case cases[] = {
      {"write", L"a.log", 100, [&] { return files.Write("a.log", "new\r\n"); }, true},
      {"move", L"a.log", 100, [&] { return files.Move("a.log", "b.log"); }, true},
      {"settings", L"Vornquill.ini", 100, [&] { return profile.Write("s", "k", "v"); }, true},
      {"held too long", L"a.log", 1500, [&] { return files.Write("a.log", "new\r\n"); }, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::wstring path = folder + c.held;
    ASSERT_TRUE(WriteAnsiFileSafely(path, "[s]\r\nold\r\n"));
    Hold hold{CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr), c.holdMs};
    ASSERT_NE(hold.file, INVALID_HANDLE_VALUE);
    HANDLE release = CreateThread(nullptr, 0, ReleaseLater, &hold, 0, nullptr);
    EXPECT_EQ(c.act(), c.done);
    WaitForSingleObject(release, INFINITE);
    CloseHandle(release);
    for (const wchar_t* name : {L"a.log", L"b.log", L"Vornquill.ini"}) DeleteFileW((folder + name).c_str());
  }
  RemoveDirectoryW(folder.c_str());
}

}  // namespace
}  // namespace vq::win
