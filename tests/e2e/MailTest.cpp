// The mail checker against the POP3 servers the test bench starts (tests/e2e/servers): what the
// result window shows, which message boxes come, and what each server received.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>

#include "Driver.h"
#include "Zoo.h"
#include "win/base/Ids.h"

namespace e2e {
namespace {

namespace id = vq::win;
const std::wstring kMailClass = L"Vornquill2.MailChecker";
const char kThreeMessages[] = "[1] 3 通 (10422 バイト) のメールがあります。";
const char kNoMail[] = "[1]  メールはありません。";
const char kError[] = "[1] エラー";
const std::vector<std::string> kGoodCommands = {"USER alice", "PASS secret", "STAT", "QUIT"};

struct Account {
  std::string port;  // empty: the account takes no part
  std::string user;
  std::string password = "secret";
  std::string host = "127.0.0.1";
  std::string protocol = {};  // "b06": empty, no key (POP3)
};

struct MailSetup {
  std::array<Account, 3> accounts;
  std::string interval = "0";
  std::string mailer = "C:\\nowhere\\mailer.exe";
  std::string top = "0", left = "0";  // the result window's stored place, twips
};

std::string Port(const wchar_t* variable) { return Narrow(EnvironmentText(variable)); }

std::string SettingsBytes(const MailSetup& setup) {
  std::string text = "[a1]\r\n";
  for (int i = 0; i < 3; ++i) {
    const Account& a = setup.accounts[i];
    const std::string key = "b" + std::to_string(i);
    text += key + "1=" + (a.port.empty() ? "110" : a.port) + "\r\n" + key + "2=" + (a.port.empty() ? "" : a.host) +
            "\r\n" + key + "3=" + a.user + "\r\n" + key + "4=" + (a.port.empty() ? "" : a.password) + "\r\n" +
            (a.protocol.empty() ? "" : key + "6=" + a.protocol + "\r\n");
  }
  text += "b5=" + setup.interval + "\r\nMailler=" + setup.mailer + "\r\nb6=1\r\nb7=False\r\nb8=True\r\n";
  text += "[vmc]\r\nTop=" + setup.top + "\r\nLeft=" + setup.left + "\r\n";
  return ToShiftJis(text);
}

int ScreenDpi() {
  HDC screen = GetDC(nullptr);
  int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi;
}

class MailTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (EnvironmentText(L"VQ_SERVER_LOG_DIR").empty()) GTEST_SKIP() << "the POP3 test servers are not running";
    ASSERT_EQ(TrayIconCount(), 0);
  }
  void TearDown() override { EndProgram(); }

  void Start(const MailSetup& setup) {
    folder.WriteBytes("Vornquill.ini", SettingsBytes(setup));
    app = App::Start(folder);
  }
  void EndProgram() {
    app.reset();
    EXPECT_TRUE(WaitUntil([] { return TrayIconCount() == 0; }));
  }
  void CheckFromMenu() {
    app->RightPressTrayIcon();
    ASSERT_TRUE(app->WaitForMenu());
    ASSERT_TRUE(app->ChooseMenuItem({"メールチェッカー", "メールチェック"}));
  }
  // The result window, shown or hidden; nullptr while there is none.
  HWND ResultWindow() const {
    for (const auto& w : app->Windows())
      if (w.className == kMailClass) return w.hwnd;
    return nullptr;
  }
  HWND WaitForShownResultWindow(Millis timeout = kDefaultWait) const {
    HWND window = nullptr;
    WaitUntil([&] { return (window = ResultWindow()) && IsWindowVisible(window); }, timeout);
    return window;
  }
  std::string Line(int account) const {
    HWND window = ResultWindow();
    return window ? Narrow(WindowText(GetDlgItem(window, id::kMailLineFirst + account))) : "<no window>";
  }
  RECT Rect(int control) const { return DescribeWindow(GetDlgItem(ResultWindow(), control)).rect; }
  COLORREF LabelColour() const {
    RECT label = Rect(id::kMailMailer);
    return ScreenPixel(label.left + 1, label.top + 1);
  }
  // The program grants a close request only when no check runs and no message box of one is
  // open: its end shows that the session is over.
  bool EndsOnCloseRequest() {
    if (auto box = app->WaitForMessageBox(0ms)) ADD_FAILURE() << "message box left open: " << Narrow(box->text);
    Ask(app->MainWindow(), WM_CLOSE);
    return app->WaitForExit(5s);
  }
  // The commands of each connection the listener took, once every one of them has ended.
  std::vector<std::vector<std::string>> Commands(const std::string& listener, size_t connections) {
    std::vector<ServerConnection> log;
    WaitUntil([&] {
      log = ServerLog(listener);
      return log.size() == connections && std::all_of(log.begin(), log.end(), [](auto& c) { return c.ended; });
    });
    std::vector<std::vector<std::string>> out;
    for (const auto& connection : log) out.push_back(connection.commands);
    return out;
  }

  ProgramFolder folder;
  std::unique_ptr<App> app;
};

// One account, one server: the status line, the message box and the commands the server got.
// IMAP: Dovecot counts alice's three messages, the first of them read; the scripted servers do
// what Dovecot never does. Nothing but CAPABILITY, LOGIN, STATUS and LOGOUT goes out.
TEST_F(MailTest, OneAccountAgainstEachServer) {
  struct Case {
    const char* name;
    Account account;
    std::string line;                        // line 0 at the end
    std::string message;                     // the message box at the end, if any
    std::string log = {};                    // the listener, when one was reached
    std::vector<std::string> commands = {};  // what it received
  };
  const std::string dovecot = Port(L"VQ_DOVECOT_PORT"), closing = Port(L"VQ_DOVECOT_CLOSING_PORT");
  const std::string gnu = Port(L"VQ_MAILUTILS_PORT"), normal = Port(L"VQ_POP3_NORMAL_PORT");
  const std::string mail = "[1] 2 通 (320 バイト) のメールがあります。", inUse = " アカウントは使用中です。";
  const std::string failed = "[1] エラー サーバーの応答を読み取れません。";
  const std::string refused = "[1] エラー 接続が受け付けられませんでした。",
                    notFound = "[1] エラー ホストが見つかりません。";
  // Each refusal with the server's own reason below it.
  const std::string wrongPassword = "[1] パスワードが正しくありません。\nAuthentication failed.",
                    noAccount = "[1] アカウントがありません。\nNo such user";
  using Sent = std::vector<std::string>;
  const Sent login = {"USER alice", "PASS secret"}, untilStat = {"USER alice", "PASS secret", "STAT"};
  const Sent bob = {"USER bob", "PASS secret", "STAT", "QUIT"}, nobody = {"USER nobody"};
  const Sent wrong = {"USER alice", "PASS wrong"}, carol = {"USER carol", "PASS secret"};
  const Sent gnuCarol = {"USER carol@example.org", "PASS secret"};
  const Sent gnuAlice = {"USER alice@example.org", "PASS secret", "STAT", "QUIT"};
  auto scripted = [&](const wchar_t* variable) { return Account{Port(variable), "alice"}; };
  auto imapScripted = [&](const wchar_t* variable) {
    return Account{Port(variable), "alice", "secret", "127.0.0.1", "1"};
  };
  const std::string imap = Port(L"VQ_DOVECOT_IMAP_PORT"), imapMail = "[1] 2 通 (未読 1 通) のメールがあります。";
  const Sent imapGood = {"a1 CAPABILITY", "a2 LOGIN \"alice\" \"secret\"", "a3 STATUS INBOX (MESSAGES UNSEEN)",
                         "a4 LOGOUT"};
  const Case cases[] = {
      {"dovecot, empty mailbox", {dovecot, "bob"}, kNoMail, "", "dovecot", bob},
      {"dovecot, wrong password", {closing, "alice", "wrong"}, kError, wrongPassword, "dovecot-closing", wrong},
      // Dovecot makes a locked mailbox wait some ten seconds before it says so.
      {"dovecot, mailbox in use", {closing, "carol"}, kError, inUse, "dovecot-closing", carol},
      {"gnu pop3d, mailbox in use", {gnu, "carol@example.org"}, kError, inUse, "mailutils", gnuCarol},
      {"gnu pop3d, mail", {gnu, "alice@example.org"}, kThreeMessages, "", "mailutils", gnuAlice},
      {"unknown user", {normal, "nobody"}, kError, noAccount, "normal", nobody},
      {"closed port", {"2199", "alice"}, kError, refused},
      {"unknown host", {"110", "alice", "secret", "no-such-host.invalid"}, kError, notFound},
      {"lower-case +ok", scripted(L"VQ_POP3_LOWER_OK_PORT"), mail, "", "lower-ok", kGoodCommands},
      {"STAT with one field", scripted(L"VQ_POP3_STAT_ONE_FIELD_PORT"), kError, failed, "stat-one-field", untilStat},
      {"bare [IN-USE]", scripted(L"VQ_POP3_IN_USE_BARE_PORT"), kError, inUse, "in-use-bare", login},
      {"two lines in one packet", scripted(L"VQ_POP3_TWO_LINES_PORT"), mail, "", "two-lines", kGoodCommands},
      {"lines split across packets", scripted(L"VQ_POP3_SPLIT_LINES_PORT"), mail, "", "split-lines", kGoodCommands},
      {"reset after QUIT", scripted(L"VQ_POP3_RESET_AFTER_QUIT_PORT"), mail, "", "reset-after-quit", kGoodCommands},
      {"greeting -ERR", scripted(L"VQ_POP3_BAD_GREETING_PORT"), mail, "", "bad-greeting", kGoodCommands},
      {"imap dovecot",
       {imap, "alice", "secret", "127.0.0.1", "1"},
       "[1] 3 通 (未読 2 通) のメールがあります。",
       "",
       "dovecot-imap",
       imapGood},
      {"imap dovecot, wrong password",
       {imap, "alice", "wrong", "127.0.0.1", "1"},
       kError,
       wrongPassword,
       "dovecot-imap",
       {imapGood[0], "a2 LOGIN \"alice\" \"wrong\"", "a3 LOGOUT"}},
      {"imap noise, split answers", imapScripted(L"VQ_IMAP_NOISY_PORT"), imapMail, "", "imap-noisy", imapGood},
      {"imap literal in the greeting", imapScripted(L"VQ_IMAP_LITERAL_GREETING_PORT"), imapMail, "",
       "imap-literal-greeting", imapGood},
      {"imap BYE after the login",
       imapScripted(L"VQ_IMAP_BYE_PORT"),
       "[1] エラー Server shutting down",
       "",
       "imap-bye",
       {imapGood.begin(), imapGood.end() - 1}},
      {"imap LOGINDISABLED without TLS",
       imapScripted(L"VQ_IMAP_LOGIN_DISABLED_PORT"),
       kError,
       "[1] エラー サーバーが暗号化されていない接続でのログインを受け付けません。暗号化の設定を確かめてください。",
       "imap-login-disabled",
       {imapGood[0], "a2 LOGOUT"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    if (!c.log.empty()) ClearServerLog(c.log);
    MailSetup setup;
    setup.accounts[0] = c.account;
    Start(setup);
    app->SendTrayMouse(WM_LBUTTONDBLCLK);
    ASSERT_TRUE(WaitForShownResultWindow());
    if (!c.message.empty()) {
      auto box = app->WaitForMessageBox(20s);
      ASSERT_TRUE(box) << Line(0);
      EXPECT_EQ(Narrow(box->text), c.message);
      EXPECT_EQ(Line(0), c.line);
      PressButton(box->hwnd, IDOK);
      EXPECT_TRUE(WaitUntil([&] { return !IsWindow(box->hwnd); }));
    } else {
      EXPECT_TRUE(WaitUntil([&] { return Line(0) == c.line; }, 15s)) << Line(0);
    }
    EXPECT_TRUE(EndsOnCloseRequest());
    if (!c.log.empty()) {
      EXPECT_EQ(Commands(c.log, 1), std::vector<std::vector<std::string>>{c.commands});
    }
    EndProgram();
  }
}

TEST_F(MailTest, MailFoundByTheMenuLightsTheLabelThatStartsTheMailer) {
  ClearServerLog("dovecot");
  const std::string marker = Narrow(folder.File("marker.txt"));
  MailSetup setup;
  setup.accounts[0] = {Port(L"VQ_DOVECOT_PORT"), "alice"};
  setup.mailer = Narrow(BesideThisProgram(L"vq_marker.exe")) + " " + marker;
  Start(setup);
  CheckFromMenu();
  HWND window = WaitForShownResultWindow();
  ASSERT_TRUE(window);
  ASSERT_TRUE(WaitUntil([&] { return Line(0) == kThreeMessages; })) << Line(0);
  EXPECT_EQ(WindowText(window), L"VornMailChecker");
  EXPECT_TRUE(WaitUntil([&] { return LabelColour() == RGB(255, 255, 0); }));

  ClickWindow(GetDlgItem(window, id::kMailMailer));
  EXPECT_TRUE(WaitUntil([&] { return folder.ReadBytes("marker.txt") == setup.mailer; }));
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(window); }));
  EXPECT_TRUE(EndsOnCloseRequest());
  EXPECT_EQ(Commands("dovecot", 1), std::vector<std::vector<std::string>>{kGoodCommands});
}

TEST_F(MailTest, ThreeAccountsInOrderWithTheirLinesStacked) {
  ClearServerLog("dovecot");
  const std::string dovecot = Port(L"VQ_DOVECOT_PORT");
  MailSetup setup;
  setup.accounts = {Account{dovecot, "alice"}, Account{dovecot, "bob"}, Account{dovecot, "alice"}};
  Start(setup);
  app->SendTrayMouse(WM_LBUTTONDBLCLK);
  HWND window = WaitForShownResultWindow();
  ASSERT_TRUE(window);
  // Line 3 waits its turn while line 1 already shows its outcome.
  bool thirdWaited = false;
  const std::string third = "[3] 3 通 (10422 バイト) のメールがあります。";
  EXPECT_TRUE(WaitUntil(
      [&] {
        thirdWaited = thirdWaited || (Line(0) == kThreeMessages && Line(2) == "[3] チェック中...");
        return Line(2) == third;
      },
      15s));
  EXPECT_TRUE(thirdWaited);
  EXPECT_EQ(Line(0), kThreeMessages);
  EXPECT_EQ(Line(1), "[2]  メールはありません。");

  POINT client{0, 0};
  ClientToScreen(window, &client);
  std::array<RECT, 3> lines;
  for (int i = 0; i < 3; ++i) lines[i] = Rect(id::kMailLineFirst + i);
  EXPECT_EQ(lines[0].top, client.y);
  EXPECT_EQ(lines[1].top, lines[0].bottom);
  EXPECT_EQ(lines[2].top, lines[1].bottom);
  RECT outer = DescribeWindow(window).rect;
  EXPECT_GE(outer.bottom - outer.top + 1, lines[2].bottom - lines[0].top + MulDiv(350, ScreenDpi(), 1440));
  EXPECT_TRUE(EndsOnCloseRequest());
  EXPECT_EQ(Commands("dovecot", 3), (std::vector<std::vector<std::string>>{
                                        kGoodCommands, {"USER bob", "PASS secret", "STAT", "QUIT"}, kGoodCommands}));
}

TEST_F(MailTest, AccountsOneAndThreeOnlyAndAMissingMailer) {
  ClearServerLog("normal");
  const std::string normal = Port(L"VQ_POP3_NORMAL_PORT");
  MailSetup setup;
  setup.accounts = {Account{normal, "bob"}, Account{}, Account{normal, "nobody"}};
  Start(setup);
  app->SendTrayMouse(WM_LBUTTONDBLCLK);
  HWND window = WaitForShownResultWindow();
  ASSERT_TRUE(window);
  auto box = app->WaitForMessageBox(15s);
  ASSERT_TRUE(box);
  EXPECT_EQ(Narrow(box->text), "[3] アカウントがありません。\nNo such user");
  EXPECT_EQ(Line(0), kNoMail);
  EXPECT_EQ(Line(1), "");
  EXPECT_EQ(Line(2), "[3] エラー");
  PressButton(box->hwnd, IDOK);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box->hwnd); }));

  RECT line0 = Rect(id::kMailLineFirst), line2 = Rect(id::kMailLineFirst + 2);
  EXPECT_EQ(line2.top, line0.bottom);
  RECT outer = DescribeWindow(window).rect;
  EXPECT_GE(outer.bottom - outer.top + 1, line2.bottom - line0.top + MulDiv(350, ScreenDpi(), 1440));
  EXPECT_EQ(LabelColour(), GetSysColor(COLOR_BTNFACE));  // no mail: the label stays as it was

  ClickWindow(GetDlgItem(window, id::kMailMailer));
  box = app->WaitForMessageBox();
  ASSERT_TRUE(box);
  EXPECT_EQ(Narrow(box->text), "メーラーが見つかれません");
  PressButton(box->hwnd, IDOK);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box->hwnd); }));
  EXPECT_TRUE(IsWindowVisible(window));
  EXPECT_TRUE(EndsOnCloseRequest());
  EXPECT_EQ(Commands("normal", 2),
            (std::vector<std::vector<std::string>>{{"USER bob", "PASS secret", "STAT", "QUIT"}, {"USER nobody"}}));
}

TEST_F(MailTest, CloseRequestIsRefusedWhileASessionRunsAndClosingTheWindowEndsItSilently) {
  ClearServerLog("silent");
  MailSetup setup;
  setup.accounts[0] = {Port(L"VQ_POP3_SILENT_PORT"), "alice"};
  Start(setup);
  const auto settings = folder.ReadBytes("Vornquill.ini");
  app->SendTrayMouse(WM_LBUTTONDBLCLK);
  HWND window = WaitForShownResultWindow();
  ASSERT_TRUE(window);
  ASSERT_TRUE(WaitUntil([] { return ServerLog("silent").size() == 1; }));
  Ask(app->MainWindow(), WM_CLOSE);
  EXPECT_FALSE(app->WaitForExit(300ms));
  EXPECT_EQ(Line(0), "[1] チェック中...");

  PostMessageW(window, WM_CLOSE, 0, 0);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(window); }));
  EXPECT_EQ(Commands("silent", 1), std::vector<std::vector<std::string>>{{}});
  EXPECT_TRUE(EndsOnCloseRequest());
  EXPECT_EQ(folder.ReadBytes("Vornquill.ini"), settings);  // not moved: the place is not written
}

// A server that never completes its greeting, silent or trickling it without a line end: the
// check ends after a minute as if the host could not be reached.
using ListenerAndPort = std::pair<std::string, std::wstring>;  // the log's name, the port's variable
class MailNoAnswerTest : public MailTest, public ::testing::WithParamInterface<ListenerAndPort> {};

TEST_P(MailNoAnswerTest, GreetingNeverCompleteEndsAsUnreachableAfterAMinute) {
  const auto [listener, port] = GetParam();
  ClearServerLog(listener);
  MailSetup setup;
  setup.accounts[0] = {Port(port.c_str()), "alice"};
  Start(setup);
  app->SendTrayMouse(WM_LBUTTONDBLCLK);
  ASSERT_TRUE(WaitForShownResultWindow());
  const auto start = std::chrono::steady_clock::now();
  auto box = app->WaitForMessageBox(75s);
  ASSERT_TRUE(box);
  EXPECT_GE(std::chrono::steady_clock::now() - start, 59s);
  EXPECT_EQ(Narrow(box->text), "[1] エラー ホストが見つかりません。");
  EXPECT_EQ(Line(0), kError);
  PressButton(box->hwnd, IDOK);
  EXPECT_TRUE(EndsOnCloseRequest());
  EXPECT_EQ(Commands(listener, 1), std::vector<std::vector<std::string>>{{}});
}
INSTANTIATE_TEST_SUITE_P(SilentOrDripping, MailNoAnswerTest,
                         ::testing::Values(ListenerAndPort{"silent", L"VQ_POP3_SILENT_PORT"},
                                           ListenerAndPort{"drip-greeting", L"VQ_POP3_DRIP_GREETING_PORT"}));

TEST_F(MailTest, PeriodicCheckBringsTheHiddenWindowToTheFrontForMailOfAccountTwo) {
  const std::string dovecot = Port(L"VQ_DOVECOT_PORT");
  MailSetup setup;
  setup.accounts = {Account{dovecot, "bob"}, Account{dovecot, "alice"}, Account{}};
  setup.interval = "1";
  setup.top = setup.left = "1200";  // over the zoo's window
  Start(setup);
  Zoo zoo({L"app=Cover"});
  HWND cover = zoo.WaitFor(L"Cover");
  ASSERT_TRUE(cover);

  bool hiddenWithNoMail = false;
  HWND window = nullptr;
  ASSERT_TRUE(WaitUntil(
      [&] {
        window = ResultWindow();
        hiddenWithNoMail = hiddenWithNoMail || (window && !IsWindowVisible(window) && Line(0) == kNoMail);
        return window && IsWindowVisible(window);
      },
      80s));
  EXPECT_TRUE(hiddenWithNoMail);
  EXPECT_TRUE(WaitUntil([&] { return Line(1) == "[2] 3 通 (10422 バイト) のメールがあります。"; })) << Line(1);
  EXPECT_EQ(Line(0), kNoMail);
  EXPECT_TRUE(WaitUntil([&] { return LabelColour() == RGB(255, 255, 0); }));
  auto order = TopLevelWindows(0);
  auto at = [&](HWND w) { return std::find_if(order.begin(), order.end(), [w](auto& i) { return i.hwnd == w; }); };
  ASSERT_NE(at(cover), order.end());
  EXPECT_LT(at(window), at(cover));
  EXPECT_FALSE(DescribeWindow(window).topmost);
  EXPECT_TRUE(EndsOnCloseRequest());
}

TEST_F(MailTest, ResultWindowKeepsItsPlaceOnlyWhenMoved) {
  MailSetup setup;
  setup.accounts[0] = {Port(L"VQ_POP3_NORMAL_PORT"), "bob"};
  setup.top = setup.left = "-45000";  // off every monitor
  Start(setup);
  const std::string settings = *folder.ReadBytes("Vornquill.ini");
  auto check = [&] {
    app->SendTrayMouse(WM_LBUTTONDBLCLK);
    HWND window = WaitForShownResultWindow();
    EXPECT_TRUE(WaitUntil([&] { return Line(0) == kNoMail; })) << Line(0);
    return window;
  };
  auto close = [&](HWND window) {
    PostMessageW(window, WM_CLOSE, 0, 0);
    return WaitUntil([&] { return !IsWindow(window); });
  };

  HWND window = check();
  ASSERT_TRUE(window);
  RECT r = DescribeWindow(window).rect;
  EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.right <= GetSystemMetrics(SM_CXSCREEN) &&
              r.bottom <= GetSystemMetrics(SM_CYSCREEN))
      << r.left << "," << r.top;
  ASSERT_TRUE(close(window));
  EXPECT_EQ(folder.ReadBytes("Vornquill.ini"), settings);

  window = check();
  ASSERT_TRUE(window);
  SetWindowPos(window, nullptr, 150, 90, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  ASSERT_TRUE(WaitUntil([&] { return DescribeWindow(window).rect.left == 150; }));
  ASSERT_TRUE(close(window));
  const int dpi = ScreenDpi();
  std::string moved = FromShiftJis(settings);
  moved.replace(moved.find("[vmc]"), std::string::npos,
                "[vmc]\r\nTop=" + std::to_string(MulDiv(90, 1440, dpi)) +
                    "\r\nLeft=" + std::to_string(MulDiv(150, 1440, dpi)) + "\r\n");
  EXPECT_EQ(FromShiftJis(*folder.ReadBytes("Vornquill.ini")), moved);

  window = check();
  ASSERT_TRUE(window);
  r = DescribeWindow(window).rect;
  EXPECT_EQ(r.left, 150);
  EXPECT_EQ(r.top, 90);
  EXPECT_TRUE(EndsOnCloseRequest());
}

}  // namespace
}  // namespace e2e
