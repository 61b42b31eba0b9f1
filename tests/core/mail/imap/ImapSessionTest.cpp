#include <gtest/gtest.h>

#include "fakes/FakeMailPorts.h"
#include "mail/text/MailMessages.h"

namespace vq::mail {
namespace {

using test::MailRig;
using Strings = std::vector<std::string>;

constexpr char kCapabilitySent[] = "a1 CAPABILITY\r\n", kLoginLine[] = "a2 LOGIN \"user1\" \"s3cret\"\r\n";
constexpr char kStatusSent[] = "a3 STATUS INBOX (MESSAGES UNSEEN)\r\n";
const std::string kToStatus = "connect|* OK ready\r\n|a1 OK\r\n|a2 OK\r\n|";
const std::string kAllSent = std::string(kCapabilitySent) + kLoginLine + kStatusSent + "a4 LOGOUT\r\n";

void StartImap(MailRig& rig, int account = 0) {
  rig.Configure(account);
  rig.settings.accounts[account].protocol = MailProtocol::kImap;
  rig.driver.GetMail();
}

// The course of IMAP conversations to their end: what went out, the status line, the boxes.
// Only unseen messages call for attention.
TEST(ImapSession, CourseOfEachConversation) {
  struct Row {
    std::string events, sent, line;
    Strings messages = {};
  };
  const std::string error = "[1] エラー", wrong = "[1] パスワードが正しくありません。", why = wrong + "\n",
                    signIn = why + std::string(kProviderSignInText);
  const std::string toLogin = "connect|* OK ready\r\n|a1 OK\r\n|", logout3 = "a3 LOGOUT\r\n";
  const std::string toCount = std::string(kCapabilitySent) + kLoginLine + kStatusSent,
                    upToLogin = std::string(kCapabilitySent) + kLoginLine, refused = upToLogin + logout3;
  const std::string one = "[1] 1 通 (未読 1 通) のメールがあります。",
                    unreadable = "[1] エラー サーバーの応答を読み取れません。";
  const Row rows[] = {
      {"connect|* OK [CAPABILITY IMAP4rev1 STARTTLS] ready\r\n|* CAPABILITY IMAP4rev1\r\n|a1 OK\r\n|sent|* 5 "
       "EXISTS\r\na2 OK [CAPABILITY IMAP4rev1] in\r\n|* STATUS INBOX (MESSAGES 12 UNSEEN 3)\r\n|a3 OK\r\n|* BYE "
       "Logging out\r\n|a4 OK Logout completed.\r\n",
       kAllSent, "[1] 12 通 (未読 3 通) のメールがあります。"},
      {kToStatus + "* STATUS INBOX (UNSEEN 0 MESSAGES 4)\r\na3 OK\r\n|a4 OK\r\n", kAllSent,
       "[1] 4 通 (未読 0 通) のメールがあります。"},
      {kToStatus + "* STATUS \"INBOX\" (MESSAGES 0 UNSEEN 0)\r\na3 OK\r\n|close", kAllSent,
       "[1]  メールはありません。"},
      {kToStatus + "* STATUS {5}\r\nINBOX (MESSAGES 1 UNSEEN 1)\r\n|a3 OK\r\n|close", kAllSent, one},
      {kToStatus + "* STATUS INBOX (MESSAGES 1 UNSEEN 1)\r\na3 O|K done\r|\n|close", kAllSent, one},
      {kToStatus + "* STATUS Sent (MESSAGES 9 UNSEEN 9)\r\n* 3 RECENT\r\na9 OK\r\nx OK\r\n|* STATUS inbox (MESSAGES 1 "
                   "UNSEEN 1)\r\na3 OK\r\n|close",
       kAllSent, one},
      {"connect|* PREAUTH hi\r\n|a1 OK\r\n|* STATUS INBOX (MESSAGES 1 UNSEEN 1)\r\na2 OK\r\n|a3 OK\r\n",
       std::string(kCapabilitySent) + "a2 STATUS INBOX (MESSAGES UNSEEN)\r\n" + logout3, one},
      {toLogin + "a2 NO [AUTHENTICATIONFAILED] Authentication failed.\r\n|a3 OK\r\n",
       upToLogin + logout3,
       error,
       {why + "Authentication failed."}},
      {toLogin + "a2 BAD syntax\r\n|close", refused, error, {why + "syntax"}},
      {toLogin + "a2 NO [ALERT] Application-specific password required: https://support.example/185833\r\n|close",
       refused,
       error,
       {why + "Application-specific password required:\nhttps://support.example/185833"}},
      {toLogin + "a2 NO [ALERT] 要アプリパスワード\r\n|close", refused, error, {why + "要アプリパスワード"}},
      {toLogin + "* NO [ALERT] Use an app password\r\na2 NO failed\r\n|close",
       refused,
       error,
       {why + "Use an app password"}},
      {toLogin + "a2 NO [AUTHENTICATIONFAILED] Basic authentication is disabled\r\n|close", refused, error, {signIn}},
      {toLogin + "* BYE Shutting down\r\n", upToLogin, error + " Shutting down"},
      {"connect|* BYE Too many connections\r\n", "", error + " Too many connections"},
      {"connect|* BYE [UNAVAILABLE] \x1b[2J" + std::string(70, 'z') + "\r\n", "",
       error + " " + std::string(58, 'z') + "…"},
      {kToStatus + "a3 NO Mailbox doesn't exist\r\n|close", kAllSent, error},
      {kToStatus + "* STATUS INBOX (MESSAGES 2)\r\na3 OK\r\n", toCount, error, {unreadable}},
      {kToStatus + "* STATUS INBOX (MESSAGES 12 UNSEEN 300)\r\na3 OK\r\n", toCount, error, {unreadable}},
      {kToStatus + "* STATUS INBOX (MESSAGES 12x UNSEEN 1)\r\n", toCount, error, {unreadable}},
      {kToStatus + "* STATUS INBOX (MESSAGES 1 UNSEEN 1)\r\n* STATUS Sent (MESSAGES 9 UNSEEN 9)\r\na3 OK\r\n|close",
       kAllSent, one},
      {"connect|* OK ready\r\n|silence", kCapabilitySent, error, {"[1] エラー ホストが見つかりません。"}},
      {"connect|* OK re|wait 59|ady|wait 1", "", error, {"[1] エラー ホストが見つかりません。"}},
      {kToStatus + "* STATUS INBOX (MESSAGES 3 UNSEEN 0)\r\na3 OK\r\n|silence", kAllSent,
       "[1] 3 通 (未読 0 通) のメールがあります。"},
      {kToStatus + "* STATUS INBOX (MESSAGES 1 UNSEEN 1)\r\na3 OK\r\n|error 10053",
       kAllSent,
       one,
       {"[1] エラー 接続が中断されました。"}},
      {"connect|* OK " + std::string(MailSession::kLongestLine, 'x'), "", error, {LineTooLongMessage(0)}},
      {"connect|* OK {99999999}\r\n", "", error, {LineTooLongMessage(0)}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.events.substr(0, 120));
    MailRig rig;
    StartImap(rig);
    rig.Play(0, row.events);
    EXPECT_EQ(rig.Sent(0), row.sent);
    EXPECT_EQ(rig.views.Last().lines[0], row.line);
    EXPECT_EQ(rig.dialogs.messages, row.messages);
    EXPECT_EQ(rig.views.Last().announced,
              row.line.find("(未読 0") == std::string::npos && row.line.find("未読") != std::string::npos);
    EXPECT_FALSE(rig.driver.Imap(0).Running() || rig.schedule.Busy() || !rig.sockets[0].IsClosed());
    EXPECT_TRUE(rig.driver.SessionEnded());
  }
}

// Credentials that a quoted string cannot carry go as literals, sent after the server's "+"
// unless it takes LITERAL+; a server that disabled LOGIN gets AUTHENTICATE PLAIN inside TLS.
TEST(ImapSession, LiteralsAndAuthenticatePlain) {
  struct Row {
    std::string user, password, capability;
    MailSecurity security;
    std::string sent;  // after CAPABILITY, with the server's "+" answered
    std::string greeting = "* OK";
  };
  const Row rows[] = {
      {"a\"b\\c", "s3cret", "IMAP4rev1", MailSecurity::kNone, "a2 LOGIN \"a\\\"b\\\\c\" \"s3cret\"\r\n"},
      {"ユーザー", "pa ss", "IMAP4rev1", MailSecurity::kNone, "a2 LOGIN {12}\r\nユーザー \"pa ss\"\r\n"},
      {"u", "l\r\nf", "LITERAL+", MailSecurity::kNone, "a2 LOGIN \"u\" {4+}\r\nl\r\nf\r\n"},
      {"user1", "s3cret", "LOGINDISABLED AUTH=PLAIN", MailSecurity::kTls,
       "a2 AUTHENTICATE PLAIN\r\nAHVzZXIxAHMzY3JldA==\r\n"},
      // Without TLS the password never goes out, however the server goes on.
      {"user1", "s3cret", "LOGINDISABLED AUTH=PLAIN", MailSecurity::kNone, "a2 LOGOUT\r\n"},
      {"user1", "s3cret", "LOGINDISABLED\r\n* CAPABILITY IMAP4rev1", MailSecurity::kNone, "a2 LOGOUT\r\n"},
      {"user1", "s3cret", "IMAP4rev1", MailSecurity::kNone, "a2 LOGOUT\r\n",
       "* OK [CAPABILITY IMAP4rev1 LOGINDISABLED] hi"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.user);
    MailRig rig;
    ImapSession session(0, {rig.sockets[0], rig.timers, rig.dialogs, rig.schedule, rig.driver.Result()}, [] {});
    rig.sockets[0].SetEvents(&session);
    ASSERT_TRUE(session.Start({"143", "imap.example", row.user, row.password, row.security, MailProtocol::kImap}));
    rig.Play(0, "connect|" + row.greeting + "\r\n|* CAPABILITY " + row.capability + "\r\na1 OK\r\n|+ go\r\n|+ go\r\n");
    EXPECT_EQ(rig.Sent(0), kCapabilitySent + row.sent);
    EXPECT_EQ(session.Step(), row.sent.ends_with("LOGOUT\r\n") ? ImapStep::kLogout : ImapStep::kLogin);
  }
}

}  // namespace
}  // namespace vq::mail
