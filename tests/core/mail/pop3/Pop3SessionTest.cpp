#include <gtest/gtest.h>

#include <algorithm>

#include "fakes/FakeMailPorts.h"
#include "mail/text/MailMessages.h"

namespace vq::mail {
namespace {

using test::MailRig;
using Strings = std::vector<std::string>;

constexpr char kLoginSent[] = "USER user1\r\nPASS s3cret\r\nSTAT\r\n";
constexpr char kFailed[] = "[1] エラー サーバーの応答を読み取れません。";
constexpr char kNotFound[] = "[1] エラー ホストが見つかりません。";

// Whatever way it ended, a session leaves nothing running behind it.
void ExpectEnded(const MailRig& rig, int account) {
  EXPECT_FALSE(rig.driver.Pop3(account).Running());
  EXPECT_EQ(rig.driver.Pop3(account).Step(), SessionStep::kIdle);
  EXPECT_FALSE(rig.schedule.Busy());
  EXPECT_TRUE(rig.driver.SessionEnded());
  EXPECT_TRUE(rig.sockets[account].IsClosed());
  EXPECT_FALSE(rig.timers.Runs(TimerId::kMailNoAnswer));
}

TEST(Pop3Session, NormalCourseStateAfterEachEvent) {
  MailRig rig;
  rig.Configure(0);
  rig.driver.GetMail();
  const Pop3Session& s = rig.driver.Pop3(0);
  ASSERT_EQ(rig.sockets[0].connects, (std::vector<std::pair<std::string, int>>{{"pop1.example", 110}}));
  EXPECT_TRUE(rig.schedule.Busy());
  EXPECT_EQ(rig.timers.running.at(TimerId::kMailNoAnswer), std::chrono::seconds(60));
  using enum CommandState;
  constexpr auto kQuit = SessionStep::kConnectingOrQuitSent, kOn = SessionStep::kGreetedOrQuitAnswered;
  struct Row {
    std::string event;
    SessionStep step;
    CommandState user, pass, stat;
    std::string sent;  // what went out on this event
  };
  const Row rows[] = {
      {"", kQuit, kNotSent, kNotSent, kNotSent, ""},
      {"connect", SessionStep::kConnected, kNotSent, kNotSent, kNotSent, ""},
      {"+OK ready\r\n", kOn, kSending, kNotSent, kNotSent, "USER user1\r\n"},
      {"sent", kOn, kAwaitingAnswer, kNotSent, kNotSent, ""},
      {"+OK\r\n", kOn, kAccepted, kSending, kNotSent, "PASS s3cret\r\n"},
      {"sent", kOn, kAccepted, kAwaitingAnswer, kNotSent, ""},
      {"+OK Logged in.\r\n", kOn, kAccepted, kAccepted, kSending, "STAT\r\n"},
      {"sent", kOn, kAccepted, kAccepted, kAwaitingAnswer, ""},
      {"+OK 3 10422\r\n", kQuit, kAccepted, kAccepted, kAccepted, "QUIT\r\n"},
      {"+OK Logging out.\r\n", kOn, kAccepted, kAccepted, kAccepted, ""},
      {"close", SessionStep::kIdle, kAccepted, kAccepted, kAccepted, ""},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.event);
    const std::string before = rig.Sent(0);
    rig.Play(0, row.event);
    EXPECT_EQ(s.Step(), row.step);
    EXPECT_EQ(s.UserState(), row.user);
    EXPECT_EQ(s.PassState(), row.pass);
    EXPECT_EQ(s.StatState(), row.stat);
    EXPECT_EQ(rig.Sent(0), before + row.sent);
  }
  EXPECT_EQ(s.MailCount(), 3);
  EXPECT_EQ(s.MailSize(), 10422);
  EXPECT_EQ(rig.timeline, (Strings{"line 0 [1] チェック中...", "show",
                                   "line 0 [1] 3 通 (10422 バイト) のメールがあります。", "announce"}));
  ExpectEnded(rig, 0);
}

// Every way a conversation can go, to its end: what was sent, the status line, the boxes.
TEST(Pop3Session, ConversationOutcomes) {
  struct Row {
    std::string events;
    std::string sent;
    std::string line;
    Strings messages = {};
  };
  const std::string inUse(kAccountInUseMessage), noMail = "[1]  メールはありません。", error = "[1] エラー";
  const std::string mail3 = "[1] 3 通 (10422 バイト) のメールがあります。", quit = "QUIT\r\n";
  const std::string wrong = "[1] パスワードが正しくありません。", toPass = "connect|+OK\r\n|sent|+OK\r\n|sent|";
  const std::string userPass = "USER user1\r\nPASS s3cret\r\n";
  std::string emptyLines, words;
  while (emptyLines.size() < 1 << 20) emptyLines += "\r\n";
  while (words.size() < 150) words += "word ";
  const std::string why = wrong + "\n", signIn = why + std::string(kProviderSignInText);
  const Row rows[] = {
      {"connect|+ok hi\r\n|sent|+ok\r\n|sent|+ok\r\n|sent|+ok 2 500\r\n|+ok bye\r\n|close", kLoginSent + quit,
       "[1] 2 通 (500 バイト) のメールがあります。"},
      {"login|+OK 0 0\r\n|+OK\r\n|close", kLoginSent + quit, noMail},
      {"login|+OK 2 3400 octets\r\n|close", kLoginSent + std::string("QUIT\r\n"),
       "[1] 2 通 (3400 バイト) のメールがあります。"},
      {"login|+OK 5\r\n", kLoginSent, error, {kFailed}},
      {"login|+OK\r\n", kLoginSent, error, {kFailed}},
      {"login|+OK many 12\r\n", kLoginSent, error, {kFailed}},
      {"login|-ERR no\r\n|close", kLoginSent + std::string("QUIT\r\n"), error},
      {"connect|+OK\r\n|sent|-ERR [AUTH] Plaintext disallowed.\r\n|-ERR Disconnected for inactivity.\r\n|close",
       "USER user1\r\n",
       error,
       {"[1] アカウントがありません。\nPlaintext disallowed."}},
      {toPass + "-ERR\r\n|close", userPass, error, {wrong}},
      {toPass + "-ERR [AUTH] Authentication failed.\r\n|-ERR Disconnected for inactivity.\r\n|close",
       userPass,
       error,
       {why + "Authentication failed."}},
      // What the server says is shown as text, cut to two lines; a server that takes no
      // password any more is named as such.
      {toPass + "-ERR \x1b[31mred\x1b[0m\tbell\a \x1b]0;x\a\xff\xfeok\xc2\x9b\xe2\x80\xae"
                "end\r\n|close",
       userPass,
       error,
       {why + "red bell \xEF\xBF\xBDokend"}},
      {toPass + "-ERR " + words + "\r\n|close",
       userPass,
       error,
       {why + words.substr(0, 59) + "\n" + words.substr(60, 58) + "…"}},
      {toPass + "-ERR [AUTH] Basic Authentication is DISABLED.\r\n|close", userPass, error, {signIn}},
      {toPass + "-ERR [IN-USE]\r\n|close", userPass, error, {inUse}},
      {toPass + "-ERR [IN-USE] Mailbox in use\r\n|close", userPass, error, {inUse}},
      {toPass + "-err [in-use] locked\r\n|close", userPass, error, {inUse}},
      {"connect|-ERR busy\r\n|close", "USER user1\r\n", error},  // the greeting still gets USER
      {"connect|-ERR not ready\r\n|sent|+OK\r\n|sent|+OK in\r\n|sent|+OK 2 320\r\n|+OK bye\r\n|close",
       kLoginSent + quit, "[1] 2 通 (320 バイト) のメールがあります。"},
      {"login|+OK 3 10422\r\n+OK bye\r\n|close", kLoginSent + quit, mail3},
      {"login|+OK 3 10|422\r|\n+OK| bye\r|\n|close", kLoginSent + quit, mail3},
      {"login|+OK 3 10422\r\n|error 10053 aborted",
       kLoginSent + std::string("QUIT\r\n"),
       mail3,
       {"[1] エラー 接続が中断されました。"}},
      {"login|+OK 0 0\r\n|+OK\r\n|error 10054 Connection reset by peer",
       kLoginSent + quit,
       noMail,
       {"[1] エラー 10054:Connection reset by peer"}},
      {"error 10061", "", error, {"[1] エラー 接続が受け付けられませんでした。"}},
      {"connect|silence", "", error, {"[1] エラー ホストが見つかりません。"}},
      // slow to close after a refusal
      {toPass + "-ERR [AUTH] failed\r\n|silence", userPass, error, {why + "failed"}},
      {"login|+OK 1 99\r\n|silence", kLoginSent + std::string("QUIT\r\n"), "[1] 1 通 (99 バイト) のメールがあります。"},
      {"connect|" + std::string(Pop3Session::kLongestLine + 1, 'x'), "", error, {LineTooLongMessage(0)}},
      {"connect|+|wait 30|O|wait 30|K", "", error, {kNotFound}},  // an answer's bytes are no answer
      {"login|+OK 3|wait 59|0|wait 1", kLoginSent, error, {kNotFound}},
      {"login|-ERR locked\r\n|sent|silence", kLoginSent + quit, error},
      {"login|+OK 99999999999999999999 1\r\n", kLoginSent, error, {kFailed}},
      {"login|+OK 1 9223372036854775808\r\n", kLoginSent, error, {kFailed}},
      {"login|+OK 3 10422\r\n" + emptyLines + "|close", kLoginSent + quit, mail3},  // one QUIT for 1 MiB of lines
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.events.substr(0, 100));
    MailRig rig;
    rig.Configure(0);
    rig.driver.GetMail();
    rig.Play(0, row.events);
    EXPECT_EQ(rig.Sent(0), row.sent);
    EXPECT_EQ(rig.views.Last().lines[0], row.line);
    EXPECT_EQ(rig.dialogs.messages, row.messages);
    const bool mail = row.line.find("のメール") != std::string::npos;
    EXPECT_EQ(rig.views.Last().announced, mail);
    EXPECT_EQ(rig.views.Last().shown, mail || !row.messages.empty());  // started by GetMail: for mail or a box
    EXPECT_EQ(rig.dialogs.about, std::vector<const BoxOwner*>(row.messages.size(), rig.views.live));
    if (!row.messages.empty()) {
      EXPECT_EQ(*std::prev(std::find(rig.timeline.begin(), rig.timeline.end(), "message " + row.messages[0])), "show");
    }
    ExpectEnded(rig, 0);
    if (mail && !row.messages.empty()) {
      EXPECT_EQ(rig.timeline.back(), "message " + row.messages.back());
    }
    for (const auto& text : rig.timeline) EXPECT_EQ(text.find("s3cret"), std::string::npos) << text;
  }
}

// A line that answers nothing while a command waits (the second line of a two-line greeting,
// a server talking out of turn) sends nothing: each command goes out once the one before it is
// answered, so one completion covering two commands cannot leave the second "sending".
TEST(Pop3Session, LineThatAnswersNothingWhileACommandWaitsSendsNothing) {
  struct Row {
    std::string events;
    std::string sent;
    std::string line;
  };
  const std::string toStat = "connect|+OK ready\r\n|sent|+OK\r\n|sent|+OK in\r\n";
  const Row rows[] = {
      {"connect|+OK ready\r\n+OK ready again\r\n|sent|+OK\r\n|sent|+OK in\r\n|sent|+OK 2 320\r\n|+OK bye\r\n|close",
       kLoginSent + std::string("QUIT\r\n"), "[1] 2 通 (320 バイト) のメールがあります。"},
      {toStat + "* noise\r\n|-ERR noise\r\n|sent|+OK 1 10\r\n|close", kLoginSent + std::string("QUIT\r\n"),
       "[1] 1 通 (10 バイト) のメールがあります。"},
      {"connect|+OK\r\n|+OK\r\n|sent", "USER user1\r\n", "[1] チェック中..."},  // the answer awaited yet
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.events);
    MailRig rig;
    rig.Configure(0);
    rig.driver.GetMail();
    rig.Play(0, row.events);
    EXPECT_EQ(rig.Sent(0), row.sent);
    EXPECT_EQ(rig.views.Last().lines[0], row.line);
    EXPECT_TRUE(rig.dialogs.messages.empty());
  }
}

TEST(Pop3Session, ErrorTextsOfEachAccount) {
  const std::pair<std::string, std::string> rows[] = {
      {"0 11001 Host not found", "[1] エラー ホストが見つかりません。"},
      {"0 10060 Timed out", "[1] エラー ホストが見つかりません。"},
      {"1 10061 Refused", "[2] エラー 接続が受け付けられませんでした。"},
      {"2 10049", "[3] エラー アドレスを利用できません。"},
      {"1 10053", "[2] エラー 接続が中断されました。"},
      {"2 10065 No route to host", "[3] エラー 10065:No route to host"},
      {"0 10054", "[1] エラー 10054:"},
  };
  for (const auto& [event, message] : rows) {
    SCOPED_TRACE(event);
    MailRig rig;
    const int account = event[0] - '0';
    rig.Configure(account);
    rig.driver.GetMail();
    rig.Play(account, "connect|error " + event.substr(2));
    EXPECT_EQ(rig.dialogs.messages, Strings{message});
    EXPECT_EQ(rig.views.Last().lines[account], ErrorStatusText(account));
    ExpectEnded(rig, account);
  }
  EXPECT_EQ(CheckingText(2), "[3] チェック中...");
  EXPECT_EQ(NoMailText(1), "[2]  メールはありません。");
  EXPECT_EQ(MailWaitingText(2, 12, 3000000000), "[3] 12 通 (3000000000 バイト) のメールがあります。");
  EXPECT_EQ(NoSuchAccountMessage(2), "[3] アカウントがありません。");
  EXPECT_EQ(WrongPasswordMessage(1), "[2] パスワードが正しくありません。");
  EXPECT_EQ(SessionFailedMessage(2), "[3] エラーが発生しました。メールチェックできません。");
  EXPECT_EQ(LineTooLongMessage(1), "[2] エラー サーバーの応答の行が長すぎます。");
}

// Setting up: the port is the number its text begins with; an unusable address ends at once,
// another failure is tried once more. A send that fails is tried once more; failing twice
// ends the session, though an answered STAT still stands.
TEST(Pop3Session, SetUpAndSendFailures) {
  struct Row {
    std::string port;
    std::deque<int> connectResults, sendResults;
    std::string events;
    int connects;
    std::string sent;
    std::string line;
    Strings messages;
  };
  const std::string failed = "[2] エラーが発生しました。メールチェックできません。", checking = "[2] チェック中...";
  const Row rows[] = {
      {"110x", {}, {}, "", 1, "", checking, {}},
      {"110", {10049}, {}, "", 1, "", "[2] エラー", {failed}},
      {"110", {10065, 0}, {}, "", 2, "", checking, {}},
      {"110", {10065, 10065}, {}, "", 2, "", "[2] エラー", {failed}},
      {"110", {10065, 10049}, {}, "", 2, "", "[2] エラー", {failed}},
      {"110", {}, {10055}, "connect|+OK\r\n", 1, "USER user2\r\n", checking, {}},
      {"110", {}, {10055, 10055}, "connect|+OK\r\n", 1, "", "[2] エラー", {failed}},
      {"110",
       {},
       {0, 0, 0, 10057, 10057},
       "login|+OK 4 800\r\n",
       1,
       "USER user2\r\nPASS s3cret\r\nSTAT\r\n",
       "[2] 4 通 (800 バイト) のメールがあります。",
       {}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(::testing::Message() << row.port << " " << row.connectResults.size() << " " << row.events);
    MailRig rig;
    rig.Configure(1);
    rig.settings.accounts[1].port = row.port;
    rig.sockets[1].connectResults = row.connectResults;
    rig.sockets[1].sendResults = row.sendResults;
    rig.driver.GetMail();
    rig.Play(1, row.events);
    ASSERT_EQ(rig.sockets[1].connects.size(), static_cast<std::size_t>(row.connects));
    EXPECT_EQ(rig.sockets[1].connects[0].second, 110);
    EXPECT_EQ(rig.Sent(1), row.sent);
    EXPECT_EQ(rig.views.Last().lines[1], row.line);
    EXPECT_EQ(rig.dialogs.messages, row.messages);
    if (row.line == checking) {
      EXPECT_TRUE(rig.driver.Pop3(1).Running() && rig.schedule.Busy());
    } else {
      ExpectEnded(rig, 1);
    }
  }
}

// A box is modal and lets events in. What the end of the session does after its box must
// neither run twice nor spoil a session that started while the box was open.
TEST(Pop3Session, EventsWhileTheEndBoxIsOpen) {
  MailRig rig;
  rig.Configure(0);
  rig.driver.GetMail();
  rig.Play(0, "connect|+OK\r\n|sent|+OK\r\n|sent|-ERR\r\n");
  bool busyInside = false, endedInside = true;
  rig.dialogs.duringMessage = [&] {
    rig.Play(0, "error 10053|close|silence");
    rig.driver.OnTimer(TimerId::kMailNextAccount);
    busyInside = rig.schedule.Busy();
    endedInside = rig.driver.SessionEnded();
  };
  rig.Play(0, "close");
  EXPECT_EQ(rig.dialogs.messages, Strings{"[1] パスワードが正しくありません。"});
  EXPECT_TRUE(busyInside);  // the next account waits for the box
  EXPECT_FALSE(endedInside);
  ExpectEnded(rig, 0);

  // The options dialog clears the busy flag while the box is open, and a new check begins.
  rig.driver.GetMail();
  rig.Play(0, "connect|+OK\r\n|sent|-ERR\r\n");
  rig.dialogs.duringMessage = [&] {
    rig.schedule.SetBusy(false);
    rig.driver.GetMail();
  };
  rig.Play(0, "close");
  EXPECT_TRUE(rig.driver.Pop3(0).Running());
  EXPECT_TRUE(rig.schedule.Busy());
  EXPECT_FALSE(rig.driver.SessionEnded());
  EXPECT_FALSE(rig.sockets[0].IsClosed());
  EXPECT_TRUE(rig.timers.Runs(TimerId::kMailNoAnswer));
  EXPECT_EQ(rig.views.Last().lines[0], "[1] チェック中...");
}

TEST(Pop3Session, StartWhileBusyOnlyBeepsAndANewStartForgetsOldBytes) {
  MailRig rig;
  rig.Configure(0);
  rig.driver.CheckNow();
  rig.Play(0, "connect|-ERR half a li");
  rig.driver.GetMail();
  EXPECT_EQ(rig.dialogs.beeps, 1);
  EXPECT_EQ(rig.sockets[0].connects.size(), 1u);
  rig.driver.Result().Close();  // abandons the session
  EXPECT_EQ(rig.driver.Pop3(0).PendingBytes(), "-ERR half a li");
  rig.driver.GetMail();
  rig.Play(0, "connect|+OK ready\r\n");
  EXPECT_EQ(rig.driver.Pop3(0).Step(), SessionStep::kGreetedOrQuitAnswered);
  EXPECT_EQ(rig.driver.Pop3(0).PendingBytes(), "");
  EXPECT_TRUE(rig.dialogs.messages.empty());
}

}  // namespace
}  // namespace vq::mail
