#include "win/options/OptionsDialog.h"

#include <commctrl.h>
#include <commdlg.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cmath>
#include <span>

#include "win/base/Dpi.h"
#include "win/base/Ids.h"
#include "win/base/LazyApi.h"
#include "win/base/Pickers.h"
#include "win/base/Screen.h"
#include "win/base/Text.h"
#include "win/base/WindowNames.h"
#include "base/Twips.h"
#include "notes/NoteRecord.h"

namespace vq::win {

namespace {

constexpr wchar_t kOptionsClass[] = L"Vornquill2.Options";
constexpr DWORD kDialogStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr long kClientWidth = 6000, kClientHeight = 4800, kTabHeight = 4260;
constexpr int kAll = -1;
// The security drop-down's items, in the order of MailSecurity.
constexpr const wchar_t* kSecurityChoices[] = {L"なし", L"SSL/TLS", L"STARTTLS"};
// The protocol drop-down's items, in the order of MailProtocol.
constexpr const wchar_t* kProtocolChoices[] = {L"POP3", L"IMAP"};

// The drop-down's choice as the enum of its items; none chosen (a setting this program does not
// know) is the enum's last value, kUnknown.
template <typename Choice, std::size_t N>
Choice Chosen(HWND combo, const wchar_t* const (&)[N]) {
  const LRESULT chosen = SendMessageW(combo, CB_GETCURSEL, 0, 0);
  return static_cast<Choice>(chosen >= 0 && chosen < static_cast<LRESULT>(N) ? chosen : static_cast<LRESULT>(N));
}
constexpr const wchar_t* kPageCaptions[] = {L"Vornquill", L"メール", L"ランチャー", L"付箋紙"};
// The mail page's tabs: one per account, then the settings they share.
constexpr const wchar_t* kMailTabCaptions[] = {L"メール1", L"メール2", L"メール3", L"設定"};
static_assert(std::size(kMailTabCaptions) == kAccountCount + 1 && options::kMailSettingsSubPage == kAccountCount);
static_assert(kAccountCount <= kAccountIdStride, "the accounts' control IDs would collide");

}  // namespace

bool OptionsDialog::RegisterClass(HINSTANCE instance) {
  return Window::RegisterClass(instance, kOptionsClass, COLOR_BTNFACE);
}

OptionsDialog::OptionsDialog(HINSTANCE instance, options::OptionsController& controller, FontCache& fonts)
    : instance_(instance), controller_(controller), fonts_(fonts) {}

void OptionsDialog::Close() {
  Destroy();
  backBrush_.Reset();
  foreBrush_.Reset();
}

int OptionsDialog::Px(long twips) const { return TwipsToPixels(twips, static_cast<int>(dpi_)); }

HWND OptionsDialog::Add(const Control& c) {
  HWND child =
      CreateWindowExW(c.exStyle, c.cls, c.text, WS_CHILD | c.style, Px(c.left), Px(c.top), Px(c.width), Px(c.height),
                      hwnd_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)), instance_, nullptr);
  SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
  placed_.push_back({child, c.page, c.subPage});
  return child;
}

namespace {

constexpr DWORD kLabel = SS_LEFT | SS_NOPREFIX, kEdit = WS_TABSTOP | ES_AUTOHSCROLL, kPush = WS_TABSTOP | BS_PUSHBUTTON;
constexpr DWORD kClient = WS_EX_CLIENTEDGE;

// The controls that appear once, page by page, in tab order.
// clang-format off
constexpr struct {
  int page, subPage;
  const wchar_t* cls;
  const wchar_t* text;
  DWORD style;
  int id;
  long left, top, width, height;
  DWORD exStyle;
} kSingleControls[] = {
    {kAll, -1, WC_TABCONTROLW, L"", WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP, kOptTabs, 0, 0, kClientWidth, kTabHeight, 0},
    // "Vornquill": new-window watch, Startup registration, the double-click action.
    {0, -1, L"BUTTON", L"", WS_TABSTOP | BS_AUTOCHECKBOX, kOptWatchCheck, 240, 480, 240, 240, 0},
    {0, -1, L"STATIC", L"新規にウィンドウを開いたとき、すべて最小化していたウィンドウを元に戻す。", kLabel | SS_NOTIFY, kOptWatchLabel, 540, 480, 5220, 480, 0},
    {0, -1, L"STATIC", L"", SS_ETCHEDHORZ, -1, 120, 1080, 5760, 30, 0},
    {0, -1, L"STATIC", L"「Vornquill2」をｽﾀｰﾄｱｯﾌﾟに", kLabel, kOptStartupLabel, 240, 1320, 2880, 300, 0},
    {0, -1, L"BUTTON", L"登録", kPush, kOptStartupRegister, 3240, 1260, 1080, 360, 0},
    {0, -1, L"BUTTON", L"削除", kPush, kOptStartupRemove, 4440, 1260, 1080, 360, 0},
    {0, -1, L"STATIC", L"", SS_ETCHEDHORZ, -1, 120, 1860, 5760, 30, 0},
    {0, -1, L"STATIC", L"<タスクアイコンの左ダブルクリック時の動作>", kLabel, kOptDoubleClickLabel, 240, 2100, 5400, 300, 0},
    {0, -1, L"BUTTON", L"", WS_TABSTOP | WS_GROUP | BS_AUTORADIOBUTTON, kOptMinimiseOption, 360, 2520, 240, 240, 0},
    {0, -1, L"STATIC", L"Desktopウィンドウの最小化or元に戻す", kLabel | SS_NOTIFY, kOptMinimiseLabel, 660, 2520, 4800, 300, 0},
    {0, -1, L"BUTTON", L"", BS_AUTORADIOBUTTON, kOptMailOption, 360, 2940, 240, 240, 0},
    {0, -1, L"STATIC", L" メールチェック", kLabel | SS_NOTIFY, kOptMailLabel, 660, 2940, 4800, 300, 0},
    {0, -1, L"STATIC", L"", SS_ETCHEDHORZ, -1, 120, 3420, 5760, 30, 0},
    // "メール": one tab per account and "設定"; the accounts' rows are added below.
    {1, -1, WC_TABCONTROLW, L"", WS_CLIPSIBLINGS | WS_TABSTOP, kOptMailTabs, 120, 420, 5760, 3720, 0},
    {1, options::kMailSettingsSubPage, L"EDIT", L"", kEdit, kOptInterval, 360, 1020, 720, 360, kClient},
    {1, options::kMailSettingsSubPage, L"STATIC", L"分ごとにメールチェック", kLabel, kOptIntervalLabel, 1200, 1080, 3000, 300, 0},
    {1, options::kMailSettingsSubPage, L"STATIC", L"自動メールを無効にしたい場合は空欄にするか「0」を代入して下さい。", kLabel, kOptIntervalNote, 360, 1560, 5400, 540, 0},
    {1, options::kMailSettingsSubPage, L"STATIC", L"メーラーの場所", kLabel, kOptMailerLabel, 360, 2280, 3000, 300, 0},
    // Show fills the path from the settings, whose default the first start writes (DefaultSettings).
    {1, options::kMailSettingsSubPage, L"EDIT", L"", kEdit, kOptMailer, 360, 2640, 4680, 360, kClient},
    {1, options::kMailSettingsSubPage, L"BUTTON", L"...", kPush, kOptMailerBrowse, 5160, 2640, 480, 360, 0},
    // "ランチャー": the entry being edited; the twenty slots are added below.
    {2, -1, L"STATIC", L"名前(任意)：", kLabel, kOptLauncherNameLabel, 240, 540, 1560, 300, 0},
    {2, -1, L"EDIT", L"", kEdit, kOptLauncherName, 1860, 480, 3900, 360, kClient},
    {2, -1, L"STATIC", L"コマンドライン：", kLabel, kOptLauncherPathLabel, 240, 1020, 1560, 300, 0},
    {2, -1, L"EDIT", L"", kEdit, kOptLauncherPath, 1860, 960, 3900, 360, kClient},
    {2, -1, L"STATIC", L"※フォルダを指定する場合は最後に\"\\\"を付けてください。", kLabel, kOptLauncherNote, 240, 1440, 5520, 300, 0},
    {2, -1, L"BUTTON", L"番号", BS_GROUPBOX, kOptLauncherFrame, 240, 1800, 3000, 2280, 0},
    {2, -1, L"STATIC", L"ファイル先→", kLabel, kOptLauncherFileLabel, 3420, 1920, 1500, 300, 0},
    {2, -1, L"BUTTON", L"...", kPush, kOptLauncherFileBrowse, 4980, 1860, 600, 360, 0},
    {2, -1, L"STATIC", L"フォルダ先→", kLabel, kOptLauncherFolderLabel, 3420, 2460, 1500, 300, 0},
    {2, -1, L"BUTTON", L"...", kPush, kOptLauncherFolderBrowse, 4980, 2400, 600, 360, 0},
    {2, -1, L"BUTTON", L"登録", WS_TABSTOP | BS_OWNERDRAW, kOptLauncherRegister, 3420, 3060, 1080, 420, 0},
    {2, -1, L"BUTTON", L"消去", kPush, kOptLauncherErase, 4620, 3060, 1080, 420, 0},
    // "付箋紙": the defaults of new notes, in rows of label, value and "...".
    {3, -1, L"STATIC", L"[初期値]", kLabel, kOptNotesHeading, 240, 480, 2400, 300, 0},
    {3, -1, L"STATIC", L"フォント名", kLabel, kOptFontNameLabel, 360, 1020, 1680, 300, 0},
    {3, -1, L"STATIC", L"", kLabel | WS_BORDER, kOptFontName, 2100, 960, 2760, 360, 0},
    {3, -1, L"BUTTON", L"...", kPush, kOptFontNameButton, 5040, 960, 480, 360, 0},
    {3, -1, L"STATIC", L"フォントサイズ", kLabel, kOptFontSizeLabel, 360, 1620, 1680, 300, 0},
    {3, -1, L"STATIC", L"", kLabel | WS_BORDER, kOptFontSize, 2100, 1560, 2760, 360, 0},
    {3, -1, L"BUTTON", L"...", kPush, kOptFontSizeButton, 5040, 1560, 480, 360, 0},
    {3, -1, L"STATIC", L"背景色", kLabel, kOptBackLabel, 360, 2220, 1680, 300, 0},
    {3, -1, L"STATIC", L"", kLabel | WS_BORDER, kOptBackSwatch, 2100, 2160, 900, 360, 0},
    {3, -1, L"BUTTON", L"...", kPush, kOptBackButton, 5040, 2160, 480, 360, 0},
    {3, -1, L"STATIC", L"文字色", kLabel, kOptForeLabel, 360, 2820, 1680, 300, 0},
    {3, -1, L"STATIC", L"", kLabel | WS_BORDER, kOptForeSwatch, 2100, 2760, 900, 360, 0},
    {3, -1, L"BUTTON", L"...", kPush, kOptForeButton, 5040, 2760, 480, 360, 0},
    // Below the pages.
    {kAll, -1, L"STATIC", L"", WS_VISIBLE | SS_ICON | SS_NOTIFY | SS_CENTERIMAGE, kOptPicture, 120, kTabHeight + 60, 480, 480, 0},
    {kAll, -1, L"BUTTON", L"OK", WS_VISIBLE | kPush, kOptOk, 2400, kTabHeight + 120, 1080, 400, 0},
    {kAll, -1, L"BUTTON", L"Cancel", WS_VISIBLE | kPush, kOptCancel, 3600, kTabHeight + 120, 1080, 400, 0},
    {kAll, -1, L"BUTTON", L"適用", WS_VISIBLE | kPush, kOptApply, 4800, kTabHeight + 120, 1080, 400, 0},
};
// clang-format on

void AddTabs(HWND tabs, std::span<const wchar_t* const> captions) {
  int i = 0;
  for (const wchar_t* caption : captions) {
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<wchar_t*>(caption);
    SendMessageW(tabs, TCM_INSERTITEMW, i++, reinterpret_cast<LPARAM>(&item));
  }
}

}  // namespace

void OptionsDialog::CreateControls() {
  // The rows of the accounts and the twenty launcher slots follow a pattern; they go
  // after the controls of their page in the table, so that the tab order stays as it was.
  auto addSingles = [&](auto keep) {
    for (const auto& c : kSingleControls)
      if (keep(c)) Add({c.page, c.subPage, c.cls, c.text, c.style, c.id, c.left, c.top, c.width, c.height, c.exStyle});
  };
  addSingles([](const auto& c) { return c.page == kAll && c.id == kOptTabs; });
  addSingles([](const auto& c) { return c.page == 0; });
  addSingles([](const auto& c) { return c.page == 1 && c.subPage < 0; });
  // Each caption comes right before its control. The port and the server keep the rows of the
  // design; the protocol, which decides the usual port and the server's caption, stands beside
  // them with its caption above it, and the encryption gets the row under the password.
  constexpr DWORD kDropDown = WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST;
  for (int a = 0; a < kAccountCount; ++a) {
    constexpr int kNoId = -1;
    auto caption = [&](const wchar_t* text, int idFirst, long left, long top, long width) {
      Add({1, a, L"STATIC", text, kLabel, idFirst == kNoId ? kNoId : idFirst + a, left, top, width, 300});
    };
    caption(L"ポート：", kOptPortLabelFirst, 360, 1020, 1680);
    Add({1, a, L"EDIT", L"110", kEdit, kOptPortFirst + a, 2100, 960, 900, 360, kClient});
    Add({1, a, L"STATIC", L"←通常は110", kLabel, kOptUsualPortLabelFirst + a, 3120, 1020, 1080, 300});
    caption(L"プロトコル：", kNoId, 4380, 1020, 1200);
    Add({1, a, L"COMBOBOX", L"", kDropDown, kOptProtocolFirst + a, 4380, 1560, 1200, 1200});
    caption(L"POP3サーバ：", kOptHostLabelFirst, 360, 1620, 1680);
    Add({1, a, L"EDIT", L"", kEdit, kOptHostFirst + a, 2100, 1560, 2160, 360, kClient});
    caption(L"アカウント(ID)：", kOptUserLabelFirst, 360, 2220, 1680);
    Add({1, a, L"EDIT", L"", kEdit, kOptUserFirst + a, 2100, 2160, 3480, 360, kClient});
    caption(L"パスワード：", kOptPasswordLabelFirst, 360, 2820, 1680);
    Add({1, a, L"EDIT", L"", kEdit | ES_PASSWORD, kOptPasswordFirst + a, 2100, 2760, 3480, 360, kClient});
    caption(L"暗号化：", kNoId, 360, 3420, 1680);
    Add({1, a, L"COMBOBOX", L"", kDropDown, kOptSecurityFirst + a, 2100, 3360, 1320, 1200});
  }
  addSingles([](const auto& c) { return c.page == 1 && c.subPage >= 0; });
  addSingles([](const auto& c) { return c.page == 2 && c.id < kOptLauncherFileLabel; });
  for (int slot = 0; slot < launcher::kLauncherEntryCount; ++slot) {
    int column = slot / 4, row = slot % 4;
    Add({2, -1, L"BUTTON", Widen(std::to_string(slot + 1)).c_str(),
         (slot == 0 ? WS_GROUP | WS_TABSTOP : 0u) | BS_RADIOBUTTON, kOptSlotFirst + slot, 360 + column * 560L,
         2100 + row * 460L, 540, 360});
  }
  addSingles([](const auto& c) { return c.page == 2 && c.id >= kOptLauncherFileLabel; });
  addSingles([](const auto& c) { return c.page == 3; });
  addSingles([](const auto& c) { return c.page == kAll && c.id != kOptTabs; });
  PrepareControls();
}

// What the table cannot say: tab captions, the fields' own rules, the picture's icon.
void OptionsDialog::PrepareControls() {
  tabs_ = GetDlgItem(hwnd_, kOptTabs);
  mailTabs_ = GetDlgItem(hwnd_, kOptMailTabs);
  AddTabs(tabs_, kPageCaptions);
  AddTabs(mailTabs_, kMailTabCaptions);
  for (int a = 0; a < kAccountCount; ++a) {
    HWND password = GetDlgItem(hwnd_, kOptPasswordFirst + a);
    SendMessageW(password, EM_SETPASSWORDCHAR, L'*', 0);
    DisableInputMethod(password);  // no input method for a password
    HWND security = GetDlgItem(hwnd_, kOptSecurityFirst + a);
    for (const wchar_t* choice : kSecurityChoices)
      SendMessageW(security, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(choice));
    for (const wchar_t* choice : kProtocolChoices)
      SendDlgItemMessageW(hwnd_, kOptProtocolFirst + a, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(choice));
  }
  HWND interval = GetDlgItem(hwnd_, kOptInterval);
  SendMessageW(interval, EM_SETLIMITTEXT, options::kIntervalMaxLength, 0);
  SubclassControl(interval, IntervalProc);
  for (int slot = 0; slot < launcher::kLauncherEntryCount; ++slot) {
    HWND button = GetDlgItem(hwnd_, kOptSlotFirst + slot);
    SetPropW(button, L"Vornquill2.Dialog", this);
    SubclassControl(button, SlotProc);
  }
  SendMessageW(GetDlgItem(hwnd_, kOptPicture), STM_SETICON, reinterpret_cast<WPARAM>(ProgramIcon(instance_)), 0);
  // A group box paints its frame and caption, not what lies inside, and nothing else does (the
  // dialog clips its children, the tab control its siblings): the launcher's frame paints
  // itself whole in the page's colour, under the slots (above it in the z-order, so clipped
  // out), or they would stand on whatever the screen held before.
  HWND frame = GetDlgItem(hwnd_, kOptLauncherFrame);
  SetWindowLongPtrW(frame, GWL_STYLE, GetWindowLongPtrW(frame, GWL_STYLE) | WS_CLIPSIBLINGS);
  SubclassControl(frame, FrameProc);
  SetWindowPos(frame, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  // The pages lie on their tab controls, above them in the z-order: a tab control paints its
  // whole page, over every sibling below it, whenever it repaints (a tab hovered or chosen),
  // and the boxes draw their frames only when they are shown or change.
  SetWindowPos(mailTabs_, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  SetWindowPos(tabs_, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

void OptionsDialog::Show(const options::OptionsValues& values) {
  EnsureCommonControls();
  UINT systemDpi = SystemDpi();
  POINT at{TwipsToPixels(values.left, static_cast<int>(systemDpi)),
           TwipsToPixels(values.top, static_cast<int>(systemDpi))};
  dpi_ = DpiForPoint(at);
  font_ = fonts_.CountdownFont(dpi_);
  RECT frame{0, 0, Px(kClientWidth), Px(kClientHeight)};
  AdjustWindowRectEx(&frame, kDialogStyle, FALSE, 0);
  SIZE size{frame.right - frame.left, frame.bottom - frame.top};
  // Off every monitor it comes back on the nearest; the remembered place stays until the user
  // moves the dialog.
  at = KeepVisible({Px(values.left), Px(values.top)}, size);
  shown_.Remember(at);
  shownValues_.emplace(values);
  // Without a window the settings read as they were loaded, and the place stays as stored.
  (void)RegisterClass(instance_);  // once, with the first window of its kind
  if (!CreateBound(0, kOptionsClass, L"Vornquill2(設定)", kDialogStyle, at.x, at.y, size.cx, size.cy, nullptr, nullptr,
                   instance_))
    return;
  CreateControls();

  refreshing_ = true;
  for (int a = 0; a < kAccountCount; ++a) {
    SetText(kOptPortFirst + a, values.accounts[a].port);
    SetText(kOptHostFirst + a, values.accounts[a].host);
    SetText(kOptUserFirst + a, values.accounts[a].user);
    SetText(kOptPasswordFirst + a, values.accounts[a].password);
    // A setting this program does not know shows no choice, and is kept unless one is made.
    const MailSecurity security = values.accounts[a].security;
    SendDlgItemMessageW(hwnd_, kOptSecurityFirst + a, CB_SETCURSEL,
                        security == MailSecurity::kUnknown ? -1 : static_cast<int>(security), 0);
    const MailProtocol protocol = values.accounts[a].protocol;
    SendDlgItemMessageW(hwnd_, kOptProtocolFirst + a, CB_SETCURSEL,
                        protocol == MailProtocol::kUnknown ? -1 : static_cast<int>(protocol), 0);
    ShowProtocolCaptions(a);
  }
  SetText(kOptInterval, values.interval);
  SetText(kOptMailer, values.mailer);
  SetChecked(kOptWatchCheck, values.watchNewWindow);
  SetChecked(kOptMinimiseOption, values.doubleClickMinimises);
  SetChecked(kOptMailOption, values.doubleClickChecksMail);
  SetText(kOptFontName, values.fontName);
  SetText(kOptFontSize, values.fontSize);
  backColor_ = values.backColor;
  foreColor_ = values.foreColor;
  refreshing_ = false;
  RefreshLauncher();
  // Shown by SelectPage, once a page is chosen, so that it never appears empty.
}

void OptionsDialog::SelectPage(options::OptionsPage page, std::optional<int> mailSubPage) {
  SendMessageW(tabs_, TCM_SETCURSEL, static_cast<int>(page), 0);
  if (mailSubPage) SendMessageW(mailTabs_, TCM_SETCURSEL, *mailSubPage, 0);
  ShowPages();
  // Showing an open dialog again brings it forward.
  ShowWindow(hwnd_, SW_SHOWNORMAL);
  SetForegroundWindow(hwnd_);
}

void OptionsDialog::ShowPages() {
  int page = static_cast<int>(SendMessageW(tabs_, TCM_GETCURSEL, 0, 0));
  int sub = static_cast<int>(SendMessageW(mailTabs_, TCM_GETCURSEL, 0, 0));
  for (const auto& p : placed_) {
    if (p.page == kAll) continue;
    bool visible = p.page == page && (p.subPage < 0 || p.subPage == sub);
    ShowWindow(p.hwnd, visible ? SW_SHOWNA : SW_HIDE);
  }
}

void OptionsDialog::SetText(int id, const std::string& text) { SetDlgItemTextW(hwnd_, id, Widen(text).c_str()); }

std::string OptionsDialog::GetText(int id) const { return WindowText(GetDlgItem(hwnd_, id)); }

bool OptionsDialog::Checked(int id) const { return IsDlgButtonChecked(hwnd_, id) == BST_CHECKED; }
void OptionsDialog::SetChecked(int id, bool on) { CheckDlgButton(hwnd_, id, on ? BST_CHECKED : BST_UNCHECKED); }

options::OptionsValues OptionsDialog::Values() const {
  if (!hwnd_) return *shownValues_;
  options::OptionsValues v;
  for (int a = 0; a < kAccountCount; ++a)
    v.accounts[a] = {GetText(kOptPortFirst + a),     GetText(kOptHostFirst + a), GetText(kOptUserFirst + a),
                     GetText(kOptPasswordFirst + a), ChosenSecurity(a),          ChosenProtocol(a)};
  v.interval = GetText(kOptInterval);
  v.mailer = GetText(kOptMailer);
  v.watchNewWindow = Checked(kOptWatchCheck);
  v.doubleClickMinimises = Checked(kOptMinimiseOption);
  v.doubleClickChecksMail = Checked(kOptMailOption);
  v.fontName = GetText(kOptFontName);
  v.fontSize = GetText(kOptFontSize);
  v.backColor = backColor_;
  v.foreColor = foreColor_;
  return v;
}

MailSecurity OptionsDialog::ChosenSecurity(int account) const {
  return Chosen<MailSecurity>(GetDlgItem(hwnd_, kOptSecurityFirst + account), kSecurityChoices);
}

MailProtocol OptionsDialog::ChosenProtocol(int account) const {
  return Chosen<MailProtocol>(GetDlgItem(hwnd_, kOptProtocolFirst + account), kProtocolChoices);
}

void OptionsDialog::ShowProtocolCaptions(int account) {
  const bool imap = ChosenProtocol(account) == MailProtocol::kImap;
  SetText(kOptHostLabelFirst + account, imap ? "IMAPサーバ：" : "POP3サーバ：");
  SetText(kOptUsualPortLabelFirst + account, imap ? "←通常は143" : "←通常は110");
}

void OptionsDialog::RefreshLauncher() {
  options::LauncherEditor& launcher = controller_.Launcher();
  refreshing_ = true;
  for (int slot = 0; slot < launcher::kLauncherEntryCount; ++slot)
    SetChecked(kOptSlotFirst + slot, slot == launcher.Selected());
  if (GetText(kOptLauncherName) != launcher.Name()) SetText(kOptLauncherName, launcher.Name());
  if (GetText(kOptLauncherPath) != launcher.Path()) SetText(kOptLauncherPath, launcher.Path());
  refreshing_ = false;
  InvalidateRect(GetDlgItem(hwnd_, kOptLauncherRegister), nullptr, TRUE);
}

std::optional<WindowPlace> OptionsDialog::MovedTo() const { return shown_.MovedTo(hwnd_, dpi_); }

void OptionsDialog::ChooseDefaultFont() {
  // Only the face and the size are defaults of new notes; bold and italic are not kept.
  NoteFont font{GetText(kOptFontName), notes::ParseFontSize(GetText(kOptFontSize)).value_or(9), false, false};
  auto chosen = PickFont(hwnd_, font, dpi_);
  if (!chosen) return;
  SetText(kOptFontName, chosen->face);
  SetText(kOptFontSize, options::FontSizeText(static_cast<int>(std::lround(chosen->size * 10))));
}

void OptionsDialog::ChooseSwatchColour(std::uint32_t& colour, int swatch) {
  if (auto chosen = PickColour(hwnd_, colour)) {
    colour = *chosen;
    InvalidateRect(GetDlgItem(hwnd_, swatch), nullptr, TRUE);
  }
}

std::optional<std::string> OptionsDialog::BrowseProgram() {
  wchar_t file[MAX_PATH * 4] = L"";
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = hwnd_;
  ofn.lpstrFilter = L"*.exe\0*.exe\0*.*\0*.*\0";
  ofn.lpstrFile = file;
  ofn.nMaxFile = static_cast<DWORD>(std::size(file));
  ofn.Flags = OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
  if (!GetOpenFileNameLazy(&ofn)) return std::nullopt;
  return Narrow(file);
}

void OptionsDialog::BrowseFolder() {
  BROWSEINFOW info{};
  info.hwndOwner = hwnd_;
  info.lpszTitle = L"フォルダを選択してください";
  info.ulFlags = BIF_RETURNONLYFSDIRS;
  PIDLIST_ABSOLUTE list = SHBrowseForFolderW(&info);
  if (!list) return;
  wchar_t path[MAX_PATH] = L"";
  BOOL ok = SHGetPathFromIDListW(list, path);
  ILFree(list);
  if (ok) SetText(kOptLauncherPath, options::LauncherEditor::FolderTarget(Narrow(path)));
}

void OptionsDialog::DrawRegisterButton(const DRAWITEMSTRUCT& item) {
  // Red while both fields hold an entry that has not been registered yet.
  bool pending = controller_.Launcher().Pending();
  HDC dc = item.hDC;
  RECT r = item.rcItem;
  DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH | ((item.itemState & ODS_SELECTED) ? DFCS_PUSHED : 0));
  RECT inner = r;
  InflateRect(&inner, -2, -2);
  SetDCBrushColor(dc, pending ? RGB(255, 0, 0) : GetSysColor(COLOR_BTNFACE));
  FillRect(dc, &inner, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
  HGDIOBJ old = SelectObject(dc, font_.get());
  DrawTextW(dc, L"登録", -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  SelectObject(dc, old);
  if (item.itemState & ODS_FOCUS) DrawFocusRect(dc, &inner);
}

void OptionsDialog::OnCommand(int id, int code) {
  options::LauncherEditor& launcher = controller_.Launcher();
  if (id >= kOptSlotFirst && id < kOptSlotFirst + launcher::kLauncherEntryCount) {
    if (code != BN_CLICKED) return;
    // A mouse press has committed and selected already; the keyboard only selects.
    if (!slotPressedByMouse_) launcher.SelectSlot(id - kOptSlotFirst);
    slotPressedByMouse_ = false;
    RefreshLauncher();
    return;
  }
  const bool security = id >= kOptSecurityFirst && id < kOptSecurityFirst + kAccountCount;
  if (security || (id >= kOptProtocolFirst && id < kOptProtocolFirst + kAccountCount)) {
    if (code != CBN_SELCHANGE) return;
    const int account = id - (security ? kOptSecurityFirst : kOptProtocolFirst);
    const std::string typed = GetText(kOptPortFirst + account);
    const std::string moved = options::PortAfterMailChoice(typed, ChosenProtocol(account), ChosenSecurity(account));
    if (moved != typed) SetText(kOptPortFirst + account, moved);
    ShowProtocolCaptions(account);
    return;
  }
  switch (id) {
    case kOptOk:
      controller_.Ok();
      return;
    case kOptCancel:
      controller_.Cancel();
      return;
    case kOptApply:
      controller_.Apply();
      return;
    case kOptPicture:
      if (code == STN_CLICKED) ShellExecuteW(hwnd_, nullptr, L"explorer", kHomePageUrl, nullptr, SW_SHOWMINIMIZED);
      return;
    case kOptWatchLabel:
      if (code == STN_CLICKED) SetChecked(kOptWatchCheck, !Checked(kOptWatchCheck));
      return;
    case kOptMinimiseLabel:
    case kOptMailLabel:
      if (code == STN_CLICKED) {
        SetChecked(kOptMinimiseOption, id == kOptMinimiseLabel);
        SetChecked(kOptMailOption, id == kOptMailLabel);
      }
      return;
    case kOptStartupRegister:
      controller_.RegisterStartup();
      return;
    case kOptStartupRemove:
      controller_.RemoveStartup();
      return;
    case kOptMailerBrowse:
      if (auto file = BrowseProgram()) SetText(kOptMailer, *file);
      return;
    case kOptLauncherName:
    case kOptLauncherPath:
      if (code == EN_CHANGE && !refreshing_) {
        if (id == kOptLauncherName)
          launcher.SetName(GetText(id));
        else
          launcher.SetPath(GetText(id));
        InvalidateRect(GetDlgItem(hwnd_, kOptLauncherRegister), nullptr, TRUE);
      }
      return;
    case kOptLauncherFileBrowse:
      if (auto file = BrowseProgram()) SetText(kOptLauncherPath, *file);
      return;
    case kOptLauncherFolderBrowse:
      BrowseFolder();
      return;
    case kOptLauncherRegister:
      controller_.RegisterLauncher();
      return;
    case kOptLauncherErase:
      launcher.Erase();
      RefreshLauncher();
      return;
    case kOptFontNameButton:
    case kOptFontSizeButton:
      ChooseDefaultFont();
      return;
    case kOptBackButton:
      ChooseSwatchColour(backColor_, kOptBackSwatch);
      return;
    case kOptForeButton:
      ChooseSwatchColour(foreColor_, kOptForeSwatch);
      return;
  }
}

std::optional<LRESULT> OptionsDialog::IntervalProc(HWND, UINT msg, WPARAM wp, LPARAM) {
  // Digits and Backspace only; every other key is dropped before it reaches the field.
  if (msg == WM_CHAR && !options::AcceptIntervalKey(static_cast<char32_t>(wp))) return 0;
  return std::nullopt;
}

std::optional<LRESULT> OptionsDialog::FrameProc(HWND hwnd, UINT msg, WPARAM, LPARAM) {
  if (msg == WM_ERASEBKGND) return 1;  // painted whole below
  if (msg != WM_PAINT) return std::nullopt;
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd, &ps);
  // The page's colour, as the dialog gives it to the controls on its pages.
  auto brush = reinterpret_cast<HBRUSH>(
      SendMessageW(GetParent(hwnd), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(hwnd)));
  RECT client;
  GetClientRect(hwnd, &client);
  FillRect(dc, &client, brush ? brush : GetSysColorBrush(COLOR_WINDOW));
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(hwnd, WM_GETFONT, 0, 0)));
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  // The etched frame runs through the middle of the caption, which stands on the page's colour.
  RECT frame = client;
  frame.top += metrics.tmHeight / 2;
  DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
  std::wstring caption = Widen(WindowText(hwnd));
  RECT text{client.left + metrics.tmAveCharWidth, client.top, client.right, client.top + metrics.tmHeight};
  DrawTextW(dc, caption.c_str(), -1, &text, DT_SINGLELINE | DT_NOPREFIX | DT_CALCRECT);
  InflateRect(&text, 2, 0);
  FillRect(dc, &text, brush ? brush : GetSysColorBrush(COLOR_WINDOW));
  SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
  SetBkMode(dc, TRANSPARENT);
  DrawTextW(dc, caption.c_str(), -1, &text, DT_SINGLELINE | DT_NOPREFIX | DT_CENTER);
  SelectObject(dc, old);
  EndPaint(hwnd, &ps);
  return 0;
}

std::optional<LRESULT> OptionsDialog::SlotProc(HWND hwnd, UINT msg, WPARAM, LPARAM) {
  auto* self = static_cast<OptionsDialog*>(GetPropW(hwnd, L"Vornquill2.Dialog"));
  if (self && (msg == WM_LBUTTONDOWN || msg == WM_RBUTTONDOWN || msg == WM_MBUTTONDOWN)) {
    // Any mouse button going down on a slot commits the slot selected so far.
    self->controller_.Launcher().PressSlot(GetDlgCtrlID(hwnd) - kOptSlotFirst);
    self->slotPressedByMouse_ = msg == WM_LBUTTONDOWN;
    self->RefreshLauncher();
  }
  if (msg == WM_NCDESTROY) RemovePropW(hwnd, L"Vornquill2.Dialog");
  return std::nullopt;
}

LRESULT OptionsDialog::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND:
      // OK and Cancel close the dialog: nothing of it may be touched afterwards.
      OnCommand(LOWORD(wp), HIWORD(wp));
      return 0;
    case WM_NOTIFY: {
      auto* header = reinterpret_cast<NMHDR*>(lp);
      if (header->code == TCN_SELCHANGE) ShowPages();
      return 0;
    }
    case WM_DRAWITEM: {
      auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(lp);
      if (item->CtlID == kOptLauncherRegister) DrawRegisterButton(*item);
      return TRUE;
    }
    case WM_CTLCOLORSTATIC: {
      HDC dc = reinterpret_cast<HDC>(wp);
      int id = GetDlgCtrlID(reinterpret_cast<HWND>(lp));
      if (id == kOptBackSwatch || id == kOptForeSwatch) {
        // One brush per swatch, made again only when its colour changed.
        UniqueBrush& brush = id == kOptBackSwatch ? backBrush_ : foreBrush_;
        COLORREF colour = ToColorRef(id == kOptBackSwatch ? backColor_ : foreColor_);
        LOGBRUSH current{};
        if (!brush || !GetObjectW(brush.get(), sizeof current, &current) || current.lbColor != colour)
          brush.Reset(CreateSolidBrush(colour));
        return reinterpret_cast<LRESULT>(brush.get());
      }
      // Controls on the pages take the colour of the tab's page; the picture sits below it.
      int face = id == kOptPicture ? COLOR_BTNFACE : COLOR_WINDOW;
      SetBkColor(dc, GetSysColor(face));
      if (id == kOptIntervalNote) SetTextColor(dc, RGB(255, 0, 0));
      return reinterpret_cast<LRESULT>(GetSysColorBrush(face));
    }
    case WM_CLOSE:
      controller_.CloseBox();
      return 0;
  }
  return Default(msg, wp, lp);
}

}  // namespace vq::win
