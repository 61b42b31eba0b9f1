#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "Driver.h"
#include "win/base/Ids.h"

// Mail over TLS against the test servers that scripts/test-windows.sh starts (see
// tests/e2e/servers/README.md): Dovecot with a certificate of the test CA, which is trusted in
// this Wine prefix only, and scripted servers whose certificates must be refused.
namespace e2e {
namespace {

namespace id = vq::win;
const std::wstring kMailClass = L"Vornquill2.MailChecker";
const std::wstring kOptionsClass = L"Vornquill2.Options";

std::string Env(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

struct Account {
  std::string port, host, security;  // security: "0", "1", "2"
  std::string user = "alice";
  std::string protocol = "0";  // "b06"
};

// The server's record of what it received: one command per line, the server's notes after "#".
std::string ServerLog(const std::string& name) {
  std::ifstream in(Env("VQ_SERVER_LOG_DIR") + name + ".log", std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}
void ClearServerLog(const std::string& name) { DeleteFileW(Widen(Env("VQ_SERVER_LOG_DIR") + name + ".log").c_str()); }
// The first command of the log's first connection.
std::string FirstCommand(const std::string& log) {
  std::istringstream lines(log);
  std::string line;
  while (std::getline(lines, line))
    if (!line.starts_with("#")) return line;
  return "";
}
void PressKey(WORD key) {
  INPUT input[2] = {};
  for (INPUT& i : input) {
    i.type = INPUT_KEYBOARD;
    i.ki.wVk = key;
  }
  input[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(2, input, sizeof(INPUT));
}

bool LoginSeen(const std::string& log) {
  return log.find("\nUSER") != std::string::npos || log.find("\nPASS") != std::string::npos;
}

class MailTlsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (Env("VQ_DOVECOT_POP3S_PORT").empty()) GTEST_SKIP() << "the POP3 test servers are not running";
    ASSERT_EQ(TrayIconCount(), 0);
  }
  void TearDown() override {
    app.reset();
    EXPECT_TRUE(WaitUntil([] { return TrayIconCount() == 0; }));
  }
  // Starts the program with these accounts and checks mail by the tray icon's double-click.
  void Check(const std::vector<Account>& accounts) {
    std::string ini = "[a1]\r\n";
    for (size_t i = 0; i < accounts.size(); ++i) {
      const std::string b = "b" + std::to_string(i);
      ini += b + "1=" + accounts[i].port + "\r\n" + b + "2=" + accounts[i].host + "\r\n" + b + "3=" + accounts[i].user +
             "\r\n" + b + "4=secret\r\n" + b + "5=" + accounts[i].security + "\r\n" + b + "6=" + accounts[i].protocol +
             "\r\n";
    }
    folder.WriteBytes("Vornquill.ini", ini + "b5=0\r\nb7=False\r\n");
    app = App::Start(folder);
    app->SendTrayMouse(WM_LBUTTONDBLCLK);
  }
  std::string StatusLine(int account) {
    auto windows = app->VisibleWindows(kMailClass);
    return windows.empty() ? "" : Narrow(WindowText(GetDlgItem(windows[0].hwnd, id::kMailLineFirst + account)));
  }
  // Waits for the message box that ends a session, and answers it.
  std::string NextMessage(Millis timeout = kDefaultWait) {
    auto box = app->WaitForMessageBox(timeout);
    if (!box) return "<no message>";
    PressButton(box->hwnd, IDOK);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(box->hwnd); }));
    return Narrow(box->text);
  }

  ProgramFolder folder;
  std::unique_ptr<App> app;
};

// Dovecot over TLS from the first byte, by name, and over STLS through the recorder, by
// address: each finds alice's three messages, and the recorder saw "STLS" and nothing in clear
// after it.
TEST_F(MailTlsTest, CheckOverSslTlsAndStartTlsFindsTheMailbox) {
  ClearServerLog("dovecot");
  Check({{Env("VQ_DOVECOT_POP3S_PORT"), "localhost", "1"}, {Env("VQ_DOVECOT_PORT"), "127.0.0.1", "2"}});
  EXPECT_TRUE(WaitUntil([&] { return StatusLine(1) == "[2] 3 通 (10422 バイト) のメールがあります。"; }, 20s))
      << StatusLine(1);
  EXPECT_EQ(StatusLine(0), "[1] 3 通 (10422 バイト) のメールがあります。");
  EXPECT_TRUE(app->NoMessageBoxFor(500ms));
  const std::string log = ServerLog("dovecot");
  EXPECT_EQ(FirstCommand(log), "STLS") << log;
  EXPECT_FALSE(LoginSeen(log)) << log;
}

// IMAP over TLS from the first byte and over STARTTLS through the recorder, beside a POP3
// account in the same check: the recorder saw CAPABILITY and STARTTLS in clear, no login.
TEST_F(MailTlsTest, ImapOverSslTlsAndStartTlsBesideAPop3Account) {
  ClearServerLog("dovecot-imap");
  Check({{Env("VQ_DOVECOT_IMAPS_PORT"), "localhost", "1", "alice", "1"},
         {Env("VQ_DOVECOT_IMAP_PORT"), "127.0.0.1", "2", "alice", "1"},
         {Env("VQ_DOVECOT_PORT"), "127.0.0.1", "0"}});
  EXPECT_TRUE(WaitUntil([&] { return StatusLine(2) == "[3] 3 通 (10422 バイト) のメールがあります。"; }, 20s))
      << StatusLine(2);
  EXPECT_EQ(StatusLine(0), "[1] 3 通 (未読 2 通) のメールがあります。");
  EXPECT_EQ(StatusLine(1), "[2] 3 通 (未読 2 通) のメールがあります。");
  EXPECT_TRUE(app->NoMessageBoxFor(500ms));
  const std::string log = ServerLog("dovecot-imap");
  EXPECT_EQ(FirstCommand(log), "V1 CAPABILITY") << log;
  EXPECT_NE(log.find("\nV2 STARTTLS\n"), std::string::npos) << log;
  EXPECT_EQ(log.find("LOGIN"), std::string::npos) << log;
}

// Certificates from an unknown CA (the server sends no issuer), out of date, and for another
// name (over STLS): each session ends after the handshake with its reason, and the servers,
// which decrypt what they receive, never saw USER or PASS.
TEST_F(MailTlsTest, UntrustedExpiredAndWrongNameCertificatesAreRefusedBeforeTheLogin) {
  for (const char* log : {"tls-untrusted", "tls-expired", "tls-wrong-name"}) ClearServerLog(log);
  Check({{Env("VQ_TLS_UNTRUSTED_PORT"), "127.0.0.1", "1"},
         {Env("VQ_TLS_EXPIRED_PORT"), "localhost", "1"},
         {Env("VQ_TLS_WRONG_NAME_PORT"), "127.0.0.1", "2"}});
  EXPECT_EQ(NextMessage(), "[1] エラー サーバーの証明書を信頼できません。");
  EXPECT_EQ(NextMessage(), "[2] エラー サーバーの証明書の有効期限が切れています。");
  EXPECT_EQ(NextMessage(), "[3] エラー サーバーの証明書がホスト名と一致しません。");
  for (int account = 0; account < 3; ++account)
    EXPECT_TRUE(WaitUntil([&] { return StatusLine(account) == "[" + std::to_string(account + 1) + "] エラー"; }));
  for (const char* name : {"tls-untrusted", "tls-expired", "tls-wrong-name"}) {
    const std::string log = ServerLog(name);
    EXPECT_NE(log.find("tls established"), std::string::npos) << name << ":\n" << log;
    EXPECT_FALSE(LoginSeen(log)) << name << ":\n" << log;
  }
}

// A TLS account on Dovecot's plain port hears a greeting in clear and gives up at once; an STLS
// account on a server without TLS (GNU pop3d) is told no; a plain account on the POP3S port
// hears nothing and gives up at the no-answer limit. No login goes out anywhere.
TEST_F(MailTlsTest, WrongPortsAndAServerWithoutStlsEndWithAClearError) {
  for (const char* log : {"dovecot", "mailutils"}) ClearServerLog(log);
  const auto start = std::chrono::steady_clock::now();
  Check({{Env("VQ_DOVECOT_PORT"), "127.0.0.1", "1"},
         {Env("VQ_MAILUTILS_PORT"), "127.0.0.1", "2", "alice@example.org"},
         {Env("VQ_DOVECOT_POP3S_PORT"), "127.0.0.1", "0"}});
  EXPECT_EQ(NextMessage(), "[1] エラー サーバーが SSL/TLS で応答しません。ポートと暗号化の設定を確かめてください。");
  EXPECT_LT(std::chrono::steady_clock::now() - start, 15s);
  EXPECT_EQ(NextMessage(), "[2] エラー サーバーが STARTTLS に対応していません。");
  EXPECT_EQ(NextMessage(75s), "[3] エラー ホストが見つかりません。");
  EXPECT_GT(std::chrono::steady_clock::now() - start, 59s);
  EXPECT_FALSE(LoginSeen(ServerLog("dovecot"))) << ServerLog("dovecot");
  const std::string mailutils = ServerLog("mailutils");
  EXPECT_NE(mailutils.find("\nSTLS\n"), std::string::npos) << mailutils;
  EXPECT_FALSE(LoginSeen(mailutils)) << mailutils;
}

// The drop-downs: "SSL/TLS" turns the usual 110 into 995, "STARTTLS" turns it back, "IMAP" makes
// it 143, and the choices are written as "b05" and "b06".
TEST_F(MailTlsTest, SecurityAndProtocolDropDownsMoveThePortAndAreSaved) {
  app = App::Start(folder);
  app->RightPressTrayIcon();
  ASSERT_TRUE(app->WaitForMenu());
  ASSERT_TRUE(app->ChooseMenuItem({"メールチェッカー", "(設定)"}));
  HWND dialog = nullptr;
  ASSERT_TRUE(WaitUntil([&] {
    auto windows = app->VisibleWindows(kOptionsClass);
    if (!windows.empty()) dialog = windows[0].hwnd;
    return dialog != nullptr;
  }));
  ASSERT_TRUE(ClickTab(GetDlgItem(dialog, id::kOptMailTabs), 0));
  HWND combo = GetDlgItem(dialog, id::kOptSecurityFirst);
  HWND port = GetDlgItem(dialog, id::kOptPortFirst);
  ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(combo) != FALSE; }));
  EXPECT_EQ(Narrow(WindowText(combo)), "なし");
  // Each time: the list opens, the next item is chosen with the keyboard.
  for (const char* expected : {"995", "110"}) {
    ClickWindow(combo);
    PressKey(VK_DOWN);
    PressKey(VK_RETURN);
    EXPECT_TRUE(WaitUntil([&] { return Narrow(WindowText(port)) == expected; })) << Narrow(WindowText(port));
  }
  EXPECT_EQ(Narrow(WindowText(combo)), "STARTTLS");
  // "IMAP" beside the server: 110 becomes 143, and the server's caption says IMAP.
  ClickWindow(GetDlgItem(dialog, id::kOptProtocolFirst));
  PressKey(VK_DOWN);
  PressKey(VK_RETURN);
  EXPECT_TRUE(WaitUntil([&] { return Narrow(WindowText(port)) == "143"; })) << Narrow(WindowText(port));
  EXPECT_EQ(Narrow(WindowText(GetDlgItem(dialog, id::kOptAccountLabelFirst + id::kAccountIdStride))), "IMAPサーバ：");
  ASSERT_TRUE(ClickToClose(dialog, GetDlgItem(dialog, id::kOptOk)));
  const std::string ini = FromShiftJis(*folder.ReadBytes("Vornquill.ini"));
  EXPECT_NE(ini.find("b01=143\r\n"), std::string::npos) << ini;
  EXPECT_NE(ini.find("b05=2\r\nb06=1\r\n"), std::string::npos) << ini;
  EXPECT_EQ(ini.find("b15="), std::string::npos) << ini;
  EXPECT_EQ(ini.find("b16="), std::string::npos) << ini;
}

}  // namespace
}  // namespace e2e
