#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <utility>

#include "Driver.h"
#include "win/base/Ids.h"
#include "NoteFixtures.h"

namespace e2e {
namespace {

using vq::win::ControlId;

const std::wstring kEditorClass = L"Vornquill2.Editor";
const std::wstring kTimerClass = L"Vornquill2.TimerDialog";
const std::wstring kMailClass = L"Vornquill2.MailChecker";

class EditorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(TrayIconCount(), 0);
    // The editor's remembered place and the defaults of new notes.
    folder.WriteBytes("Vornquill.ini", ToShiftJis("[Fusen]\r\nFontName=ＭＳ Ｐゴシック\r\nFontSize=10.5\r\n"
                                                  "BackColor=&H80FFFF\r\nForeColor=&HFF\r\nTop=1500\r\nLeft=3000\r\n"));
  }
  void TearDown() override {
    app.reset();
    EXPECT_TRUE(WaitUntil([] { return TrayIconCount() == 0; }));
  }

  std::function<bool()> timerOpen = [this] { return Window(kTimerClass).has_value(); };
  std::function<bool()> boxOpen = [this] { return app->WaitForMessageBox(0ms).has_value(); };
  std::optional<WindowInfo> Window(const std::wstring& cls) const {
    auto windows = app->VisibleWindows(cls);
    if (windows.empty()) return std::nullopt;
    return windows[0];
  }
  WindowInfo WaitForWindow(const std::wstring& cls) {
    std::optional<WindowInfo> found;
    EXPECT_TRUE(WaitUntil([&] { return (found = Window(cls)).has_value(); })) << Narrow(cls);
    return found.value_or(WindowInfo{});
  }
  WindowInfo OpenNewNote() {
    app->RightPressTrayIcon();
    EXPECT_TRUE(app->WaitForMenu());
    EXPECT_TRUE(app->ChooseMenuItem({"付箋紙", "[新規作成]"}));
    return WaitForWindow(kEditorClass);
  }
  WindowInfo EditNote(const WindowInfo& note) {
    POINT c = Centre(note.rect);
    ClickAt(c.x, c.y, true);
    EXPECT_TRUE(app->WaitForMenu());
    EXPECT_TRUE(app->ChooseMenuItem({"編集"}));
    return WaitForWindow(kEditorClass);
  }
  std::wstring EditorText(const WindowInfo& editor) {
    return WindowText(GetDlgItem(editor.hwnd, vq::win::kEditorText));
  }
  void Type(const WindowInfo& editor, const std::wstring& text) {
    HWND edit = GetDlgItem(editor.hwnd, vq::win::kEditorText);
    SetForegroundWindow(editor.hwnd);
    ClickAt((DescribeWindow(edit).rect.left + DescribeWindow(edit).rect.right) / 2, DescribeWindow(edit).rect.top + 8);
    TypeText(text);
    // A typed Enter becomes CR LF in the text box.
    std::wstring shown;
    for (wchar_t c : text) shown += c == L'\r' ? std::wstring(L"\r\n") : std::wstring(1, c);
    EXPECT_TRUE(WaitUntil([&] { return WindowText(edit).find(shown) != std::wstring::npos; }));
  }
  void Press(const WindowInfo& window, int id) { ASSERT_TRUE(PressButton(window.hwnd, id)); }
  bool AlarmRowShown(const WindowInfo& editor) {
    return IsWindowVisible(GetDlgItem(editor.hwnd, vq::win::kEditorAlarmFirst + 8)) != FALSE;
  }

  ProgramFolder folder;
  std::unique_ptr<App> app;
};

TEST_F(EditorTest, NewNoteIsTypedAndStuckUnderTheLowestFreeNumberAtTheEditorsPlace) {
  WriteNote(folder, 0, RecordValues().Set(7, "7500"), "zero");
  WriteNote(folder, 2, RecordValues().Set(7, "1800").Set(8, "3300"), "two");  // under the editor
  app = App::Start(folder);
  auto editor = OpenNewNote();
  EXPECT_EQ(editor.text, L"Vorn付箋紙");
  EXPECT_EQ(editor.rect.left, 200);  // "Fusen" Left 3000 twips
  EXPECT_EQ(editor.rect.top, 100);
  EXPECT_EQ(app->MenuBar(editor.hwnd).size(), 4u);
  EXPECT_EQ(app->MenuBar(editor.hwnd)[3].caption, "タイマー設定");
  EXPECT_FALSE(AlarmRowShown(editor));

  Type(editor, L"会議の準備\r資料を印刷😀");
  for (int answer : {IDNO, IDYES}) {  // Shift-JIS has no emoji: saved only when the user agrees
    Press(editor, vq::win::kEditorStick);
    auto box = app->WaitForMessageBox();
    ASSERT_TRUE(box);
    EXPECT_EQ(Narrow(box->text),
              "付箋紙のファイルに保存できない文字があります：「😀」。別の文字に置き換えて貼り付けますか？");
    EXPECT_FALSE(folder.Exists("Vornquill1.hsn") || folder.Exists("Vornquill1.log"));
    PressButton(box->hwnd, answer);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box->hwnd); }));
    if (answer != IDNO) continue;
    // The editor the question was about is the active window again, and no note covers it.
    EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == editor.hwnd; }));
    for (const auto& w : app->Windows()) {
      if (w.hwnd == editor.hwnd) break;
      EXPECT_NE(w.className, kNoteClass) << Narrow(WindowText(w.hwnd));
    }
  }
  ASSERT_TRUE(WaitUntil([&] { return !Window(kEditorClass); }));
  ASSERT_TRUE(WaitUntil([&] { return folder.Exists("Vornquill1.hsn"); }));
  EXPECT_EQ(folder.ReadBytes("Vornquill1.log"), ToShiftJis("会議の準備\r\n資料を印刷") + "?\r\n");  // one per character
  EXPECT_EQ(RecordOf(folder, 1),
            RecordValues().Set(1, "10.5").Set(4, "&H80FFFF").Set(5, "&HFF").Set(7, "1500").Set(8, "3000").Bytes());
  EXPECT_TRUE(WaitUntil([&] { return NoteAt(*app, 200, 100).has_value(); }));
  // Closing the editor remembers where it was.
  auto settings = FromShiftJis(*folder.ReadBytes("Vornquill.ini"));
  EXPECT_NE(settings.find("Top=1500\r\nLeft=3000\r\n"), std::string::npos) << settings;
}

TEST_F(EditorTest, EmptyNoteIsNotStuck) {
  app = App::Start(folder);
  auto editor = OpenNewNote();
  Press(editor, vq::win::kEditorStick);
  auto box = app->WaitForMessageBox();
  ASSERT_TRUE(box);
  EXPECT_EQ(Narrow(box->text), "入力されていません");
  PressButton(box->hwnd, IDOK);
  EXPECT_TRUE(WaitUntil([&] { return !app->WaitForMessageBox(0ms); }));
  EXPECT_TRUE(Window(kEditorClass).has_value());
  EXPECT_EQ(folder.Files(), (std::vector<std::string>{"Vornquill.ini", "Vornquill2.exe"}));

  // A second edit is refused while this one is open.
  app->RightPressTrayIcon();
  ASSERT_TRUE(app->WaitForMenu());
  ASSERT_TRUE(app->ChooseMenuItem({"付箋紙", "[新規作成]"}));
  box = app->WaitForMessageBox();
  ASSERT_TRUE(box);
  EXPECT_EQ(Narrow(box->text), "他のタグを編集中です。");
  PressButton(box->hwnd, IDOK);
}

TEST_F(EditorTest, CancelAndTheCloseBoxPutTheEditedNoteBackUnchanged) {
  WriteNote(folder, 3, RecordValues().Set(14, "True").Alarm("2099", "01", "02", "03", "04"), "元のまま");
  const std::string record = RecordOf(folder, 3);
  app = App::Start(folder);
  for (bool closeBox : {false, true}) {
    SCOPED_TRACE(closeBox ? "close box" : "Cancel");
    ASSERT_TRUE(WaitUntil([&] { return NoteAt(*app, 192, 96).has_value(); }));
    auto note = *NoteAt(*app, 192, 96);
    int height = note.rect.bottom - note.rect.top;
    auto editor = EditNote(note);
    EXPECT_EQ(EditorText(editor), L"元のまま");
    EXPECT_TRUE(AlarmRowShown(editor));
    EXPECT_EQ(WindowText(GetDlgItem(editor.hwnd, vq::win::kEditorAlarmFirst)), L"2099");
    ASSERT_TRUE(WaitUntil([&] { return app->VisibleWindows(kNoteClass).empty(); }));
    Type(editor, L"書き換え");
    if (closeBox)
      PostMessageW(editor.hwnd, WM_CLOSE, 0, 0);
    else
      Press(editor, vq::win::kEditorCancel);
    ASSERT_TRUE(WaitUntil([&] { return NoteAt(*app, 192, 96).has_value(); }));
    auto back = *NoteAt(*app, 192, 96);
    EXPECT_TRUE(back.topmost);
    EXPECT_EQ(back.rect.bottom - back.rect.top, height);  // the countdown line is back too
    EXPECT_EQ(RecordOf(folder, 3), record);
    EXPECT_EQ(folder.ReadBytes("Vornquill3.log"), ToShiftJis("元のまま\r\n"));
  }
}

TEST_F(EditorTest, EditThenStickRewritesTheSameNumber) {
  WriteNote(folder, 4, RecordValues().Set(14, "0"), "古い");
  app = App::Start(folder);
  ASSERT_TRUE(WaitUntil([&] { return NoteAt(*app, 192, 96).has_value(); }));
  auto editor = EditNote(*NoteAt(*app, 192, 96));
  Type(editor, L"新しい");
  Press(editor, vq::win::kEditorStick);
  // The click put the caret after the old text.
  ASSERT_TRUE(WaitUntil([&] { return folder.ReadBytes("Vornquill4.log") == ToShiftJis("古い新しい\r\n"); }))
      << FromShiftJis(*folder.ReadBytes("Vornquill4.log"));
  EXPECT_EQ(RecordOf(folder, 4), RecordValues().Set(14, "0").Bytes());
  EXPECT_TRUE(WaitUntil([&] { return NoteAt(*app, 192, 96).has_value(); }));
  EXPECT_EQ(folder.Files(),
            (std::vector<std::string>{"Vornquill.ini", "Vornquill2.exe", "Vornquill4.hsn", "Vornquill4.log"}));
}

TEST_F(EditorTest, TimerDialogSetsAnAlarmTheNoteCountsDownToAndClearsIt) {
  app = App::Start(folder);
  auto editor = OpenNewNote();
  Type(editor, L"締め切り");
  ASSERT_TRUE(app->ClickMenuBar(editor.hwnd, "タイマー設定", timerOpen));
  auto dialog = WaitForWindow(kTimerClass);
  EXPECT_EQ(dialog.text, L"タイマー設定");
  EXPECT_FALSE(IsWindowVisible(editor.hwnd));
  EXPECT_EQ(dialog.rect.left, editor.rect.left);
  EXPECT_EQ(dialog.rect.top, editor.rect.top);

  SYSTEMTIME now;
  GetLocalTime(&now);
  auto label = [&](int field) {
    return Narrow(WindowText(GetDlgItem(dialog.hwnd, vq::win::kTimerLabelFirst + field)));
  };
  EXPECT_EQ(label(0), std::to_string(now.wYear));
  char month[3];
  snprintf(month, sizeof month, "%02d", now.wMonth);
  EXPECT_EQ(label(1), month);
  auto clock = Narrow(WindowText(GetDlgItem(dialog.hwnd, vq::win::kTimerClock)));
  EXPECT_EQ(clock.substr(0, 4), std::to_string(now.wYear));
  EXPECT_NE(clock.find("  "), std::string::npos);
  EXPECT_NE(clock.find("："), std::string::npos);

  // One click on the year bar's right arrow: next year. A click now and then goes astray on its
  // way through the display server: click again only while the year has stayed as it was.
  const std::string thisYear = std::to_string(now.wYear), nextYear = std::to_string(now.wYear + 1);
  for (int attempt = 0; attempt < 3 && label(0) == thisYear; ++attempt) {
    RECT bar = DescribeWindow(GetDlgItem(dialog.hwnd, vq::win::kTimerScrollFirst)).rect;
    ClickAt(bar.right - 3, (bar.top + bar.bottom) / 2);
    WaitUntil([&] { return label(0) != thisYear; }, 3s);
  }
  ASSERT_EQ(label(0), nextYear);
  std::string alarm[5];
  for (int f = 0; f < 5; ++f) alarm[f] = label(f);
  Press(dialog, vq::win::kTimerSet);

  ASSERT_TRUE(WaitUntil([&] { return !Window(kTimerClass) && Window(kEditorClass); }));
  RECT before = editor.rect;
  editor = *Window(kEditorClass);
  EXPECT_TRUE(EqualRect(&before, &editor.rect));  // back where it was
  EXPECT_TRUE(AlarmRowShown(editor));
  for (int f = 0; f < 5; ++f)
    EXPECT_EQ(Narrow(WindowText(GetDlgItem(editor.hwnd, vq::win::kEditorAlarmFirst + f))), alarm[f]);
  Press(editor, vq::win::kEditorStick);
  ASSERT_TRUE(WaitUntil([&] { return folder.Exists("Vornquill0.hsn"); }));
  EXPECT_EQ(RecordOf(folder, 0),
            RecordValues()
                .Set(1, "10.5")
                .Set(4, "&H80FFFF")
                .Set(5, "&HFF")
                .Set(7, "1500")
                .Set(8, "3000")
                .Alarm(alarm[0].c_str(), alarm[1].c_str(), alarm[2].c_str(), alarm[3].c_str(), alarm[4].c_str())
                .Bytes());
  ASSERT_TRUE(WaitUntil([&] { return NoteAt(*app, 200, 100).has_value(); }));
  auto note = *NoteAt(*app, 200, 100);
  EXPECT_EQ(ScreenPixel(note.rect.left + 1, note.rect.top + 1), GetSysColor(COLOR_HIGHLIGHT));

  // Edit again and take the alarm away.
  editor = EditNote(note);
  ASSERT_TRUE(app->ClickMenuBar(editor.hwnd, "タイマー設定", timerOpen));
  dialog = WaitForWindow(kTimerClass);
  EXPECT_EQ(label(0), alarm[0]);
  Press(dialog, vq::win::kTimerClear);
  ASSERT_TRUE(WaitUntil([&] { return Window(kEditorClass).has_value(); }));
  EXPECT_FALSE(AlarmRowShown(*Window(kEditorClass)));
  Press(*Window(kEditorClass), vq::win::kEditorStick);
  ASSERT_TRUE(WaitUntil([&] { return RecordOf(folder, 0).find("\"\"\r\n\"False\"") != std::string::npos; }));
  EXPECT_EQ(RecordOf(folder, 0),
            RecordValues().Set(1, "10.5").Set(4, "&H80FFFF").Set(5, "&HFF").Set(7, "1500").Set(8, "3000").Bytes());
}

TEST_F(EditorTest, CalendarClickSetsTheDateWithoutMovingTheScrollBars) {
  app = App::Start(folder);
  auto editor = OpenNewNote();
  ASSERT_TRUE(app->ClickMenuBar(editor.hwnd, "タイマー設定", timerOpen));
  auto dialog = WaitForWindow(kTimerClass);
  HWND calendar = GetDlgItem(dialog.hwnd, vq::win::kTimerCalendar);
  auto label = [&](int field) {
    return Narrow(WindowText(GetDlgItem(dialog.hwnd, vq::win::kTimerLabelFirst + field)));
  };
  auto position = [&](int field) {
    return Ask(GetDlgItem(dialog.hwnd, vq::win::kTimerScrollFirst + field), SBM_GETPOS);
  };
  LRESULT positions[3] = {position(0), position(1), position(2)};
  std::string before = label(2);

  // A day in the last rows of the month grid: some other day than today.
  RECT r = DescribeWindow(calendar).rect;
  ClickAt(r.left + (r.right - r.left) / 7, r.top + (r.bottom - r.top) * 3 / 4);
  SYSTEMTIME chosen{};
  ASSERT_TRUE(WaitUntil([&] {
    SendWithRemoteBuffer(calendar, MCM_GETCURSEL, 0, &chosen, sizeof chosen);
    char day[3];
    snprintf(day, sizeof day, "%02d", chosen.wDay);
    return label(2) == day && label(2) != before;
  }));
  char month[3];
  snprintf(month, sizeof month, "%02d", chosen.wMonth);
  EXPECT_EQ(label(0), std::to_string(chosen.wYear));
  EXPECT_EQ(label(1), month);
  for (int f = 0; f < 3; ++f) EXPECT_EQ(position(f), positions[f]) << f;

  // "タイマー設定" hands the clicked date to the editor although the bars never moved.
  std::string day = label(2);
  Press(dialog, vq::win::kTimerSet);
  ASSERT_TRUE(WaitUntil([&] { return Window(kEditorClass).has_value(); }));
  EXPECT_EQ(Narrow(WindowText(GetDlgItem(Window(kEditorClass)->hwnd, vq::win::kEditorAlarmFirst + 2))), day);
}

TEST_F(EditorTest, FontAndColourDialogsArePrimedAndCancellingChangesNothing) {
  // A Japanese face this Wine prefix has (the Noto CJK fonts), so the font dialog can show it.
  folder.WriteBytes("Vornquill.ini",
                    "[Fusen]\r\nFontName=Noto Sans CJK JP\r\nFontSize=12\r\nBackColor=&H80FFFF\r\n"
                    "ForeColor=&HFF\r\nTop=1500\r\nLeft=3000\r\n");
  app = App::Start(folder);
  auto editor = OpenNewNote();
  Type(editor, L"書式");

  ASSERT_TRUE(app->ClickMenuBar(editor.hwnd, "書式", boxOpen));
  auto fontBox = app->WaitForMessageBox();  // any dialog of the program
  ASSERT_TRUE(fontBox);
  // The face and size boxes of the font dialog show the note's font. (Wine's dialog rounds a
  // size such as 10.5 to whole points in its size box; the note keeps it unless changed.)
  EXPECT_EQ(Narrow(WindowText(GetDlgItem(fontBox->hwnd, 0x470))), "Noto Sans CJK JP");
  EXPECT_EQ(Narrow(WindowText(GetDlgItem(fontBox->hwnd, 0x472))), "12");
  PressButton(fontBox->hwnd, IDCANCEL);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(fontBox->hwnd); }));

  for (const char* item : {"背景色", "文字色"}) {
    ASSERT_TRUE(app->ClickMenuBar(editor.hwnd, item, boxOpen));
    auto colourBox = app->WaitForMessageBox();
    ASSERT_TRUE(colourBox) << item;
    PressButton(colourBox->hwnd, IDCANCEL);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(colourBox->hwnd); }));
  }
  Press(editor, vq::win::kEditorStick);
  ASSERT_TRUE(WaitUntil([&] { return folder.Exists("Vornquill0.hsn"); }));
  EXPECT_EQ(RecordOf(folder, 0), RecordValues()
                                     .Set(0, "Noto Sans CJK JP")
                                     .Set(4, "&H80FFFF")
                                     .Set(5, "&HFF")
                                     .Set(7, "1500")
                                     .Set(8, "3000")
                                     .Bytes());
}

TEST_F(EditorTest, TheEditorOpensWhereItWasLastClosed) {
  app = App::Start(folder);
  auto editor = OpenNewNote();
  SetWindowPos(editor.hwnd, nullptr, 300, 250, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  ASSERT_TRUE(WaitUntil([&] { return DescribeWindow(editor.hwnd).rect.left == 300; }));
  Press(editor, vq::win::kEditorCancel);
  ASSERT_TRUE(WaitUntil([&] { return !Window(kEditorClass); }));
  auto settings = FromShiftJis(*folder.ReadBytes("Vornquill.ini"));
  EXPECT_NE(settings.find("Top=3750\r\nLeft=4500\r\n"), std::string::npos) << settings;
  editor = OpenNewNote();
  EXPECT_EQ(editor.rect.left, 300);
  EXPECT_EQ(editor.rect.top, 250);
}

bool Overlap(const RECT& a, const RECT& b) {
  RECT both;
  return IntersectRect(&both, &a, &b) != FALSE;
}
std::string Describe(const WindowInfo& w) {
  return Narrow(w.className) + " '" + Narrow(w.text) + "' " + std::to_string(w.rect.left) + "," +
         std::to_string(w.rect.top) + " " + std::to_string(w.rect.right - w.rect.left) + "x" +
         std::to_string(w.rect.bottom - w.rect.top);
}

// Every text is as large as its own font draws it (a Japanese font, a larger DPI), and no
// control covers another: the alarm row of the editor, the whole timer dialog with a
// calendar that shows a whole month, and the mail result window with three lines that reach
// as far as its mailer label.
TEST_F(EditorTest, TextsFitTheirControlsAtEveryDpi) {
  WriteNote(folder, 0, RecordValues().Alarm("2099", "12", "31", "23", "59"), "メモ");
  std::string accounts = "[a1]\r\nb7=False\r\n";
  for (std::string a : {"b0", "b1", "b2"})
    accounts += a + "1=" + Narrow(EnvironmentText(L"VQ_DOVECOT_PORT")) + "\r\n" + a + "2=127.0.0.1\r\n" + a +
                "3=alice\r\n" + a + "4=secret\r\n";
  folder.WriteBytes("Vornquill.ini", *folder.ReadBytes("Vornquill.ini") + accounts);
  for (int dpi : {96, 144}) {
    SCOPED_TRACE(dpi);
    ScreenDpi screen(dpi);
    app = App::Start(folder);
    ASSERT_TRUE(WaitUntil([&] { return !app->VisibleWindows(kNoteClass).empty(); }));
    auto editor = EditNote(app->VisibleWindows(kNoteClass)[0]);
    SaveScreenshot("editor-" + std::to_string(dpi));
    // The editor's own minimum, 4710 twips, at this DPI: the program does draw at it.
    EXPECT_GE(editor.rect.right - editor.rect.left, MulDiv(4710, dpi, 1440));
    auto texts = app->TextSizes();
    std::vector<WindowInfo> row;
    for (int i = 0; i < 9; ++i) row.push_back(DescribeWindow(GetDlgItem(editor.hwnd, vq::win::kEditorAlarmFirst + i)));
    // Reading order: "タイマー", year, "/", month, "/", day, hour, "：", minute.
    const int order[] = {8, 0, 5, 1, 6, 2, 3, 7, 4};
    RECT stick = DescribeWindow(GetDlgItem(editor.hwnd, vq::win::kEditorStick)).rect;
    for (int k = 0; k < 9; ++k) {
      const WindowInfo& label = row[order[k]];
      SCOPED_TRACE(Describe(label));
      EXPECT_TRUE(label.visible);
      EXPECT_GE(label.rect.right - label.rect.left, texts[label.hwnd].cx);
      EXPECT_GE(label.rect.bottom - label.rect.top, texts[label.hwnd].cy);
      if (k > 0) {
        EXPECT_GE(label.rect.left, row[order[k - 1]].rect.right);
      }
      EXPECT_LT(label.rect.right, stick.left);
    }

    ASSERT_TRUE(app->ClickMenuBar(editor.hwnd, "タイマー設定", timerOpen));
    auto dialog = WaitForWindow(kTimerClass);
    SaveScreenshot("timer-" + std::to_string(dpi));
    app->SendTrayMouse(WM_LBUTTONDBLCLK);
    HWND mail = WaitForWindow(kMailClass).hwnd;
    EXPECT_TRUE(WaitUntil([&] {
      return WindowText(GetDlgItem(mail, vq::win::kMailLineFirst + 2)) ==
             L"[3] 3 通 (10422 バイト) のメールがあります。";
    }));
    SaveScreenshot("mail-" + std::to_string(dpi));
    // The lines look as they do painted afresh (one kept the left part of a glyph blank).
    RECT lines;
    GetClientRect(mail, &lines);
    MapWindowPoints(mail, nullptr, reinterpret_cast<POINT*>(&lines), 2);
    std::vector<COLORREF> shown;
    WaitUntil([&] { return std::exchange(shown, ScreenPixels(lines)) == shown; });
    RedrawWindow(mail, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    EXPECT_FALSE(WaitUntil([&] { return ScreenPixels(lines) != shown; }, 1s));
    texts = app->TextSizes();
    for (auto [window, count] : {std::pair{dialog.hwnd, 21u}, std::pair{mail, 4u}}) {
      RECT client;
      GetClientRect(window, &client);
      MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
      auto children = ChildWindows(window);
      ASSERT_EQ(children.size(), count);
      for (size_t i = 0; i < children.size(); ++i) {
        const WindowInfo& child = children[i];
        SCOPED_TRACE(Describe(child));
        RECT inside;
        EXPECT_TRUE(IntersectRect(&inside, &child.rect, &client) && EqualRect(&inside, &child.rect));
        for (size_t j = 0; j < i; ++j) EXPECT_FALSE(Overlap(child.rect, children[j].rect)) << Describe(children[j]);
        if (child.className == L"Static" && !child.text.empty()) {
          EXPECT_GE(child.rect.right - child.rect.left, texts[child.hwnd].cx);
          EXPECT_GE(child.rect.bottom - child.rect.top, texts[child.hwnd].cy);
        }
        if (child.className == L"SysMonthCal32") {
          RECT minimum{};
          ASSERT_TRUE(SendWithRemoteBuffer(child.hwnd, MCM_GETMINREQRECT, 0, &minimum, sizeof minimum));
          EXPECT_GE(child.rect.right - child.rect.left, minimum.right - minimum.left);
          EXPECT_GE(child.rect.bottom - child.rect.top, minimum.bottom - minimum.top);
        }
      }
    }
    Press(dialog, vq::win::kTimerCancel);
    ASSERT_TRUE(WaitUntil([&] { return Window(kEditorClass).has_value(); }));
    Press(editor, vq::win::kEditorCancel);
    ASSERT_TRUE(WaitUntil([&] { return !Window(kEditorClass); }));

    // The options dialog's mail pages: both tab controls under all else (a tab control repaints its
    // whole page, over the boxes' frames too), each drop-down right after its caption, texts fit.
    app->RightPressTrayIcon();
    ASSERT_TRUE(app->WaitForMenu());
    ASSERT_TRUE(app->ChooseMenuItem({"メールチェッカー", "(設定)"}));
    HWND options = WaitForWindow(L"Vornquill2.Options").hwnd, tabs = GetDlgItem(options, vq::win::kOptTabs);
    EXPECT_EQ(GetWindow(tabs, GW_HWNDNEXT), nullptr);
    EXPECT_EQ(GetWindow(tabs, GW_HWNDPREV), GetDlgItem(options, vq::win::kOptMailTabs));
    for (auto [first, caption] :
         {std::pair{vq::win::kOptProtocolFirst, "プロトコル："}, {vq::win::kOptSecurityFirst, "暗号化："}})
      EXPECT_EQ(Narrow(WindowText(GetWindow(GetDlgItem(options, first), GW_HWNDPREV))), caption);
    for (int sub : {3, 0}) {
      ASSERT_TRUE(ClickTab(GetDlgItem(options, vq::win::kOptMailTabs), sub));
      SaveScreenshot((sub == 3 ? "options-settings-" : "options-mail1-") + std::to_string(dpi));
      texts = app->TextSizes();
      std::vector<WindowInfo> shownControls;
      for (const auto& c : ChildWindows(options))
        if (c.visible && c.className != WC_TABCONTROLW) shownControls.push_back(c);
      for (size_t i = 0; i < shownControls.size(); ++i) {
        const WindowInfo& c = shownControls[i];
        SCOPED_TRACE(Describe(c));
        for (size_t j = 0; j < i; ++j)
          EXPECT_FALSE(Overlap(c.rect, shownControls[j].rect)) << Describe(shownControls[j]);
        if (c.className == L"Static" && !c.text.empty())  // the red note has two lines
          EXPECT_GE((c.rect.bottom - c.rect.top) / texts[c.hwnd].cy * (c.rect.right - c.rect.left), texts[c.hwnd].cx);
      }
    }
    EXPECT_TRUE(PressButton(options, vq::win::kOptCancel));
    app.reset();
    ASSERT_TRUE(WaitUntil([] { return TrayIconCount() == 0; }));
  }
}

// A remembered place off every monitor (one that was removed) opens on the nearest one, and
// the settings file keeps the place until the user moves the window; an editor made larger for
// a large note is never larger than the screen.
TEST_F(EditorTest, WindowsRememberedOffTheScreenOpenOnIt) {
  const std::string settings =
      "[Fusen]\r\nFontName=ＭＳ Ｐゴシック\r\nFontSize=9\r\nTop=-30000\r\nLeft=90000\r\n"
      "[Option]\r\nTop=60000\r\nLeft=-20000\r\n";
  folder.WriteBytes("Vornquill.ini", ToShiftJis(settings));
  std::string tall;
  for (int line = 1; line <= 900; ++line) tall += std::to_string(line) + (line < 900 ? "\r\n" : "");
  WriteNote(folder, 0, RecordValues(), tall);
  app = App::Start(folder);
  RECT work;
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  auto onScreen = [&](const RECT& r) {
    RECT inside;
    return IntersectRect(&inside, &r, &work) && EqualRect(&inside, &r);
  };
  struct Case {
    const char* what;
    std::function<HWND()> open;
    std::function<void(HWND)> close;
  };
  const Case cases[] = {
      {"new note", [&] { return OpenNewNote().hwnd; }, [&](HWND w) { PressButton(w, vq::win::kEditorCancel); }},
      {"900 lines",
       [&] {
         // The note runs far below the screen: its menu from near its top.
         RECT note = app->VisibleWindows(kNoteClass).at(0).rect;
         ClickAt(note.left + 5, note.top + 5, true);
         EXPECT_TRUE(app->WaitForMenu());
         EXPECT_TRUE(app->ChooseMenuItem({"編集"}));
         return WaitForWindow(kEditorClass).hwnd;
       },
       [&](HWND w) { PressButton(w, vq::win::kEditorCancel); }},
      {"options",
       [&] {
         app->RightPressTrayIcon();
         EXPECT_TRUE(app->WaitForMenu());
         EXPECT_TRUE(app->ChooseMenuItem({"オプション設定"}));
         return WaitForWindow(L"Vornquill2.Options").hwnd;
       },
       [&](HWND w) { PressButton(w, vq::win::kOptCancel); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_TRUE(WaitUntil([&] { return !app->VisibleWindows(kNoteClass).empty(); }));
    HWND window = c.open();
    ASSERT_TRUE(window);
    RECT r = DescribeWindow(window).rect;
    EXPECT_TRUE(onScreen(r)) << r.left << "," << r.top << " " << r.right << "," << r.bottom;
    c.close(window);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(window); }));
    EXPECT_EQ(FromShiftJis(*folder.ReadBytes("Vornquill.ini")), settings);
  }
}

TEST_F(EditorTest, TheEditorNeverGetsSmallerThanItsMinimum) {
  app = App::Start(folder);
  auto editor = OpenNewNote();
  RECT r = editor.rect;
  // Dragging the bottom-right corner up and left as far as it goes.
  Drag(r.right - 2, r.bottom - 2, r.left + 20, r.top + 20);
  RECT now = DescribeWindow(editor.hwnd).rect;
  EXPECT_EQ(now.right - now.left, 314);  // 4710 twips
  EXPECT_EQ(now.bottom - now.top, 275);  // 4125 twips
  RECT text = DescribeWindow(GetDlgItem(editor.hwnd, vq::win::kEditorText)).rect;
  RECT stick = DescribeWindow(GetDlgItem(editor.hwnd, vq::win::kEditorStick)).rect;
  EXPECT_EQ(stick.top - text.bottom, 5);  // 75 twips under the text box
}

}  // namespace
}  // namespace e2e
