#include "OptionsDialog.h"

#include <commctrl.h>
#include <commdlg.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cmath>

#include "Dpi.h"
#include "Ids.h"
#include "LazyApi.h"
#include "Pickers.h"
#include "Text.h"
#include "WindowNames.h"
#include "base/Twips.h"

namespace vq::win {

namespace {

constexpr wchar_t kOptionsClass[] = L"Vornquill2.Options";
constexpr DWORD kDialogStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr long kClientWidth = 6000, kClientHeight = 4800, kTabHeight = 4260;
constexpr int kAll = -1;

}  // namespace

bool OptionsDialog::RegisterClass(HINSTANCE instance) {
  return RegisterBoundClass(instance, kOptionsClass, BoundWindowProc<OptionsDialog>, COLOR_BTNFACE);
}

OptionsDialog::OptionsDialog(HINSTANCE instance, OptionsController& controller, FontCache& fonts)
    : instance_(instance), controller_(controller), fonts_(fonts) {}

OptionsDialog::~OptionsDialog() { Close(); }

void OptionsDialog::Close() {
  DestroyBoundWindow(hwnd_);
  for (HBRUSH* brush : {&backBrush_, &foreBrush_})
    if (*brush) DeleteObject(*brush), *brush = nullptr;
}

int OptionsDialog::Px(long twips) const { return TwipsToPixels(twips, static_cast<int>(dpi_)); }

HWND OptionsDialog::Add(int page, int subPage, const wchar_t* cls, const wchar_t* text, DWORD style, int id, long left,
                        long top, long width, long height, DWORD exStyle) {
  HWND child = CreateWindowExW(exStyle, cls, text, WS_CHILD | style, Px(left), Px(top), Px(width), Px(height), hwnd_,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance_, nullptr);
  SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
  placed_.push_back({child, page, subPage});
  return child;
}

void OptionsDialog::CreateControls() {
  const DWORD label = SS_LEFT | SS_NOPREFIX, edit = WS_TABSTOP | ES_AUTOHSCROLL, push = WS_TABSTOP | BS_PUSHBUTTON;
  tabs_ = Add(kAll, -1, WC_TABCONTROLW, L"", WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP, kOptTabs, 0, 0, kClientWidth,
              kTabHeight);
  const wchar_t* pages[] = {L"Vornquill", L"メール", L"ランチャー", L"付箋紙"};
  for (int i = 0; i < 4; ++i) {
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<wchar_t*>(pages[i]);
    SendMessageW(tabs_, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
  }

  // "Vornquill": new-window watch, Startup registration, the double-click action.
  Add(0, -1, L"BUTTON", L"", WS_TABSTOP | BS_AUTOCHECKBOX, kOptWatchCheck, 240, 480, 240, 240);
  Add(0, -1, L"STATIC", L"新規にウィンドウを開いたとき、すべて最小化していたウィンドウを元に戻す。", label | SS_NOTIFY,
      kOptWatchLabel, 540, 480, 5220, 480);
  Add(0, -1, L"STATIC", L"", SS_ETCHEDHORZ, -1, 120, 1080, 5760, 30);
  Add(0, -1, L"STATIC", L"「Vornquill2」をｽﾀｰﾄｱｯﾌﾟに", label, kOptStartupLabel, 240, 1320, 2880, 300);
  Add(0, -1, L"BUTTON", L"登録", push, kOptStartupRegister, 3240, 1260, 1080, 360);
  Add(0, -1, L"BUTTON", L"削除", push, kOptStartupRemove, 4440, 1260, 1080, 360);
  Add(0, -1, L"STATIC", L"", SS_ETCHEDHORZ, -1, 120, 1860, 5760, 30);
  Add(0, -1, L"STATIC", L"<タスクアイコンの左ダブルクリック時の動作>", label, kOptDoubleClickLabel, 240, 2100, 5400,
      300);
  Add(0, -1, L"BUTTON", L"", WS_TABSTOP | WS_GROUP | BS_AUTORADIOBUTTON, kOptMinimiseOption, 360, 2520, 240, 240);
  Add(0, -1, L"STATIC", L"Desktopウィンドウの最小化or元に戻す", label | SS_NOTIFY, kOptMinimiseLabel, 660, 2520, 4800,
      300);
  Add(0, -1, L"BUTTON", L"", BS_AUTORADIOBUTTON, kOptMailOption, 360, 2940, 240, 240);
  Add(0, -1, L"STATIC", L" メールチェック", label | SS_NOTIFY, kOptMailLabel, 660, 2940, 4800, 300);
  Add(0, -1, L"STATIC", L"", SS_ETCHEDHORZ, -1, 120, 3420, 5760, 30);

  // "メール": one tab per account and "設定".
  mailTabs_ = Add(1, -1, WC_TABCONTROLW, L"", WS_CLIPSIBLINGS | WS_TABSTOP, kOptMailTabs, 120, 420, 5760, 3720);
  const wchar_t* mailPages[] = {L"メール1", L"メール2", L"メール3", L"設定"};
  for (int i = 0; i < 4; ++i) {
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<wchar_t*>(mailPages[i]);
    SendMessageW(mailTabs_, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
  }
  const wchar_t* rows[] = {L"ポート：", L"POP3サーバ：", L"アカウント(ID)：", L"パスワード："};
  for (int a = 0; a < 3; ++a) {
    for (int r = 0; r < 4; ++r)
      Add(1, a, L"STATIC", rows[r], label, kOptAccountLabelFirst + a * 5 + r, 360, 1020 + r * 600, 1680, 300);
    Add(1, a, L"EDIT", L"110", edit, kOptPortFirst + a, 2100, 960, 900, 360, WS_EX_CLIENTEDGE);
    Add(1, a, L"STATIC", L"←通常は110", label, kOptAccountLabelFirst + a * 5 + 4, 3120, 1020, 1800, 300);
    Add(1, a, L"EDIT", L"", edit, kOptHostFirst + a, 2100, 1560, 3480, 360, WS_EX_CLIENTEDGE);
    Add(1, a, L"EDIT", L"", edit, kOptUserFirst + a, 2100, 2160, 3480, 360, WS_EX_CLIENTEDGE);
    HWND password =
        Add(1, a, L"EDIT", L"", edit | ES_PASSWORD, kOptPasswordFirst + a, 2100, 2760, 3480, 360, WS_EX_CLIENTEDGE);
    SendMessageW(password, EM_SETPASSWORDCHAR, L'*', 0);
    DisableInputMethod(password);  // no input method for a password
  }
  HWND interval = Add(1, 3, L"EDIT", L"", edit, kOptInterval, 360, 1020, 720, 360, WS_EX_CLIENTEDGE);
  SendMessageW(interval, EM_SETLIMITTEXT, kIntervalMaxLength, 0);
  SetWindowLongPtrW(interval, GWLP_USERDATA,
                    SetWindowLongPtrW(interval, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(IntervalProc)));
  Add(1, 3, L"STATIC", L"分ごとにメールチェック", label, kOptIntervalLabel, 1200, 1080, 3000, 300);
  Add(1, 3, L"STATIC", L"自動メールを無効にしたい場合は空欄にするか「0」を代入して下さい。", label, kOptIntervalNote,
      360, 1560, 5400, 540);
  Add(1, 3, L"STATIC", L"メーラーの場所", label, kOptMailerLabel, 360, 2280, 3000, 300);
  Add(1, 3, L"EDIT", L"C:\\Program Files\\Outlook Express\\msimn.exe", edit, kOptMailer, 360, 2640, 4680, 360,
      WS_EX_CLIENTEDGE);
  Add(1, 3, L"BUTTON", L"...", push, kOptMailerBrowse, 5160, 2640, 480, 360);

  // "ランチャー": the twenty slots and the entry being edited.
  Add(2, -1, L"STATIC", L"名前(任意)：", label, kOptLauncherNameLabel, 240, 540, 1560, 300);
  Add(2, -1, L"EDIT", L"", edit, kOptLauncherName, 1860, 480, 3900, 360, WS_EX_CLIENTEDGE);
  Add(2, -1, L"STATIC", L"コマンドライン：", label, kOptLauncherPathLabel, 240, 1020, 1560, 300);
  Add(2, -1, L"EDIT", L"", edit, kOptLauncherPath, 1860, 960, 3900, 360, WS_EX_CLIENTEDGE);
  Add(2, -1, L"STATIC", L"※フォルダを指定する場合は最後に\"\\\"を付けてください。", label, kOptLauncherNote, 240, 1440,
      5520, 300);
  Add(2, -1, L"BUTTON", L"番号", BS_GROUPBOX, kOptLauncherFrame, 240, 1800, 3000, 2280);
  for (int slot = 0; slot < kLauncherEntryCount; ++slot) {
    int column = slot / 4, row = slot % 4;
    HWND button = Add(2, -1, L"BUTTON", std::to_wstring(slot + 1).c_str(),
                      (slot == 0 ? WS_GROUP | WS_TABSTOP : 0) | BS_RADIOBUTTON, kOptSlotFirst + slot,
                      360 + column * 560, 2100 + row * 460, 540, 360);
    SetPropW(button, L"Vornquill2.Dialog", this);
    SetWindowLongPtrW(button, GWLP_USERDATA,
                      SetWindowLongPtrW(button, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(SlotProc)));
  }
  Add(2, -1, L"STATIC", L"ファイル先→", label, kOptLauncherFileLabel, 3420, 1920, 1500, 300);
  Add(2, -1, L"BUTTON", L"...", push, kOptLauncherFileBrowse, 4980, 1860, 600, 360);
  Add(2, -1, L"STATIC", L"フォルダ先→", label, kOptLauncherFolderLabel, 3420, 2460, 1500, 300);
  Add(2, -1, L"BUTTON", L"...", push, kOptLauncherFolderBrowse, 4980, 2400, 600, 360);
  Add(2, -1, L"BUTTON", L"登録", WS_TABSTOP | BS_OWNERDRAW, kOptLauncherRegister, 3420, 3060, 1080, 420);
  Add(2, -1, L"BUTTON", L"消去", push, kOptLauncherErase, 4620, 3060, 1080, 420);

  // "付箋紙": the defaults of new notes.
  Add(3, -1, L"STATIC", L"[初期値]", label, kOptNotesHeading, 240, 480, 2400, 300);
  const wchar_t* captions[] = {L"フォント名", L"フォントサイズ", L"背景色", L"文字色"};
  const int ids[4][3] = {{kOptFontNameLabel, kOptFontName, kOptFontNameButton},
                         {kOptFontSizeLabel, kOptFontSize, kOptFontSizeButton},
                         {kOptBackLabel, kOptBackSwatch, kOptBackButton},
                         {kOptForeLabel, kOptForeSwatch, kOptForeButton}};
  for (int r = 0; r < 4; ++r) {
    long top = 960 + r * 600;
    Add(3, -1, L"STATIC", captions[r], label, ids[r][0], 360, top + 60, 1680, 300);
    Add(3, -1, L"STATIC", L"", label | WS_BORDER, ids[r][1], 2100, top, r < 2 ? 2760 : 900, 360);
    Add(3, -1, L"BUTTON", L"...", push, ids[r][2], 5040, top, 480, 360);
  }

  HWND picture = Add(kAll, -1, L"STATIC", L"", WS_VISIBLE | SS_ICON | SS_NOTIFY | SS_CENTERIMAGE, kOptPicture, 120,
                     kTabHeight + 60, 480, 480);
  SendMessageW(picture, STM_SETICON, reinterpret_cast<WPARAM>(LoadIconW(instance_, MAKEINTRESOURCEW(1))), 0);
  Add(kAll, -1, L"BUTTON", L"OK", WS_VISIBLE | push, kOptOk, 2400, kTabHeight + 120, 1080, 400);
  Add(kAll, -1, L"BUTTON", L"Cancel", WS_VISIBLE | push, kOptCancel, 3600, kTabHeight + 120, 1080, 400);
  Add(kAll, -1, L"BUTTON", L"適用", WS_VISIBLE | push, kOptApply, 4800, kTabHeight + 120, 1080, 400);
  // The pages lie on the tab control, above it in the z-order.
  SetWindowPos(tabs_, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

void OptionsDialog::Show(const OptionsValues& values) {
  EnsureCommonControls();
  UINT systemDpi = SystemDpi();
  POINT at{TwipsToPixels(values.left, static_cast<int>(systemDpi)),
           TwipsToPixels(values.top, static_cast<int>(systemDpi))};
  dpi_ = DpiForPoint(at);
  font_ = fonts_.CountdownFont(dpi_);
  RECT frame{0, 0, Px(kClientWidth), Px(kClientHeight)};
  AdjustWindowRectEx(&frame, kDialogStyle, FALSE, 0);
  hwnd_ = CreateWindowExW(0, kOptionsClass, L"Vornquill2(設定)", kDialogStyle, Px(values.left), Px(values.top),
                          frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr, instance_, this);
  CreateControls();

  refreshing_ = true;
  for (int a = 0; a < 3; ++a) {
    SetText(kOptPortFirst + a, values.accounts[a].port);
    SetText(kOptHostFirst + a, values.accounts[a].host);
    SetText(kOptUserFirst + a, values.accounts[a].user);
    SetText(kOptPasswordFirst + a, values.accounts[a].password);
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

void OptionsDialog::SelectPage(OptionsPage page, std::optional<int> mailSubPage) {
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

std::string OptionsDialog::GetText(int id) const {
  HWND control = GetDlgItem(hwnd_, id);
  int length = GetWindowTextLengthW(control);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  GetWindowTextW(control, text.data(), length + 1);
  text.resize(static_cast<size_t>(length));
  return Narrow(text);
}

bool OptionsDialog::Checked(int id) const { return IsDlgButtonChecked(hwnd_, id) == BST_CHECKED; }
void OptionsDialog::SetChecked(int id, bool on) { CheckDlgButton(hwnd_, id, on ? BST_CHECKED : BST_UNCHECKED); }

OptionsValues OptionsDialog::Values() const {
  OptionsValues v;
  for (int a = 0; a < 3; ++a)
    v.accounts[a] = {GetText(kOptPortFirst + a), GetText(kOptHostFirst + a), GetText(kOptUserFirst + a),
                     GetText(kOptPasswordFirst + a)};
  v.interval = GetText(kOptInterval);
  v.mailer = GetText(kOptMailer);
  v.watchNewWindow = Checked(kOptWatchCheck);
  v.doubleClickMinimises = Checked(kOptMinimiseOption);
  v.doubleClickChecksMail = Checked(kOptMailOption);
  v.fontName = GetText(kOptFontName);
  v.fontSize = GetText(kOptFontSize);
  v.backColor = backColor_;
  v.foreColor = foreColor_;
  NotePlace place = Place();
  v.top = place.top;
  v.left = place.left;
  return v;
}

void OptionsDialog::RefreshLauncher() {
  LauncherEditor& launcher = controller_.Launcher();
  refreshing_ = true;
  for (int slot = 0; slot < kLauncherEntryCount; ++slot) SetChecked(kOptSlotFirst + slot, slot == launcher.Selected());
  if (GetText(kOptLauncherName) != launcher.Name()) SetText(kOptLauncherName, launcher.Name());
  if (GetText(kOptLauncherPath) != launcher.Path()) SetText(kOptLauncherPath, launcher.Path());
  refreshing_ = false;
  InvalidateRect(GetDlgItem(hwnd_, kOptLauncherRegister), nullptr, TRUE);
}

NotePlace OptionsDialog::Place() const {
  RECT r;
  GetWindowRect(hwnd_, &r);
  int dpi = static_cast<int>(dpi_);
  return {PixelsToTwips(r.top, dpi), PixelsToTwips(r.left, dpi)};
}

void OptionsDialog::ChooseDefaultFont() {
  // Only the face and the size are defaults of new notes; bold and italic are not kept.
  NoteFont font{GetText(kOptFontName), ParseFontSize(GetText(kOptFontSize)).value_or(9), false, false};
  auto chosen = PickFont(hwnd_, font, dpi_);
  if (!chosen) return;
  SetText(kOptFontName, chosen->face);
  SetText(kOptFontSize, FontSizeText(static_cast<int>(std::lround(chosen->size * 10))));
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
  if (ok) SetText(kOptLauncherPath, LauncherEditor::FolderTarget(Narrow(path)));
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
  LauncherEditor& launcher = controller_.Launcher();
  if (id >= kOptSlotFirst && id < kOptSlotFirst + kLauncherEntryCount) {
    if (code != BN_CLICKED) return;
    // A mouse press has committed and selected already; the keyboard only selects.
    if (!slotPressedByMouse_) launcher.SelectSlot(id - kOptSlotFirst);
    slotPressedByMouse_ = false;
    RefreshLauncher();
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

// Both fields keep the control's own procedure in their user data.
LRESULT CALLBACK OptionsDialog::IntervalProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  // Digits and Backspace only; every other key is dropped before it reaches the field.
  if (msg == WM_CHAR && !AcceptIntervalKey(static_cast<char32_t>(wp))) return 0;
  return CallWindowProcW(reinterpret_cast<WNDPROC>(GetWindowLongPtrW(hwnd, GWLP_USERDATA)), hwnd, msg, wp, lp);
}

LRESULT CALLBACK OptionsDialog::SlotProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto original = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  auto* self = static_cast<OptionsDialog*>(GetPropW(hwnd, L"Vornquill2.Dialog"));
  if (self && (msg == WM_LBUTTONDOWN || msg == WM_RBUTTONDOWN || msg == WM_MBUTTONDOWN)) {
    // Any mouse button going down on a slot commits the slot selected so far.
    self->controller_.Launcher().PressSlot(GetDlgCtrlID(hwnd) - kOptSlotFirst);
    self->slotPressedByMouse_ = msg == WM_LBUTTONDOWN;
    self->RefreshLauncher();
  }
  if (msg == WM_NCDESTROY) RemovePropW(hwnd, L"Vornquill2.Dialog");
  return CallWindowProcW(original, hwnd, msg, wp, lp);
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
        HBRUSH& brush = id == kOptBackSwatch ? backBrush_ : foreBrush_;
        if (brush) DeleteObject(brush);
        brush = CreateSolidBrush(ToColorRef(id == kOptBackSwatch ? backColor_ : foreColor_));
        return reinterpret_cast<LRESULT>(brush);
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
  return DefWindowProcW(hwnd_, msg, wp, lp);
}

}  // namespace vq::win
