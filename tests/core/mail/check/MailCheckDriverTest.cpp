#include <gtest/gtest.h>

#include "fakes/FakeMailPorts.h"
#include "mail/text/MailMessages.h"

namespace vq::mail {
namespace {

using test::Contacted;
using test::MailRig;
using Strings = std::vector<std::string>;

// The menu item with accounts 1, 2, 3 set up or not; line heights are 195, 225 and 255 twips.
TEST(MailCheckDriver, WhichAccountsTakePartAndHowTheWindowIsLaidOut) {
  struct Row {
    std::string accounts;  // "13": accounts 1 and 3 have a user name
    std::string emptied;   // "2 host": that setting of account 2 is empty
    std::vector<int> opened;
    std::array<long, kAccountCount> tops = {};
    long height = 0;
    std::string contacted = "";
    std::vector<int> pending = {};  // the accounts still to start
  };
  const Row rows[] = {
      {"", "", {0}},
      {"123", "", {}, {0, 195, 420}, 1025, "1", {1, 2}},
      {"12", "", {}, {0, 195, 480}, 770, "1", {1}},
      {"13", "", {}, {0, 240, 195}, 800, "1", {2}},
      {"23", "", {}, {0, 0, 225}, 830, "2", {2}},
      {"1", "", {}, {0, 240, 480}, 545, "1"},
      {"2", "", {}, {0, 0, 480}, 575, "2"},
      {"3", "", {}, {0, 240, 0}, 605, "3"},
      {"12", "2 host", {1}},
      {"13", "1 password", {0}},
      {"3", "3 port", {2}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.accounts + " " + row.emptied);
    MailRig rig;
    for (char c : row.accounts) rig.Configure(c - '1');
    if (!row.emptied.empty()) {
      auto& a = rig.settings.accounts[row.emptied[0] - '1'];
      (row.emptied.ends_with("port") ? a.port : row.emptied.ends_with("host") ? a.host : a.password).clear();
    }
    rig.driver.CheckNow();
    const auto& window = rig.views.Last();
    EXPECT_EQ(rig.settings.opened, row.opened);
    EXPECT_EQ(Contacted(rig), row.contacted);
    EXPECT_EQ(rig.driver.Pending(), row.pending);
    EXPECT_EQ(rig.timers.Runs(TimerId::kMailNextAccount), !row.pending.empty());
    if (!row.opened.empty()) {
      EXPECT_EQ(rig.dialogs.messages, Strings{row.accounts.empty() ? "メール設定を行ってください。"
                                                                   : "メール設定が不完全です。再設定して下さい。"});
      EXPECT_TRUE(window.closed);  // shown by the menu item, closed by the refusal
      EXPECT_EQ(window.lines, (std::array<std::string, kAccountCount>{}));
      continue;
    }
    EXPECT_TRUE(rig.dialogs.messages.empty());
    EXPECT_TRUE(window.shown && !window.closed);
    for (int i = 0; i < kAccountCount; ++i)
      EXPECT_EQ(window.lines[i], row.accounts.find(char('1' + i)) != std::string::npos ? CheckingText(i) : "");
    EXPECT_EQ(window.tops, row.tops);
    EXPECT_EQ(window.height, row.height);
  }
}

// Accounts 1 and 3: the second starts within a tick of the first one's end, and the tick after
// the last one's end finishes the check.
TEST(MailCheckDriver, HandsTheCheckOverToTheNextAccount) {
  MailRig rig;
  rig.Configure(0);
  rig.Configure(2);
  rig.driver.GetMail();
  rig.Play(0, "login");
  rig.driver.OnTimer(TimerId::kMailNextAccount);  // still running: nothing happens
  rig.Play(0, "+OK 0 0\r\n|close");
  EXPECT_TRUE(rig.driver.SessionEnded());
  EXPECT_EQ(Contacted(rig), "1");  // only the tick hands over

  rig.driver.OnTimer(TimerId::kMailNextAccount);
  EXPECT_EQ(Contacted(rig), "13");
  EXPECT_FALSE(!rig.driver.Pending().empty() || rig.driver.SessionEnded());
  rig.Play(2, "login|+OK 1 2048\r\n|close");
  EXPECT_TRUE(rig.timers.Runs(TimerId::kMailNextAccount));

  rig.driver.OnTimer(TimerId::kMailNextAccount);
  EXPECT_FALSE(rig.timers.Runs(TimerId::kMailNextAccount));
  EXPECT_FALSE(rig.schedule.Busy());
  for (const auto& socket : rig.sockets) EXPECT_TRUE(socket.IsClosed());
  EXPECT_EQ(rig.timeline,
            (Strings{"line 0 [1] チェック中...", "line 2 [3] チェック中...", "line 0 [1]  メールはありません。", "show",
                     "line 2 [3] 1 通 (2048 バイト) のメールがあります。", "announce"}));
}

// The hand-over copes with the ways a check can be cut short or overlap.
TEST(MailCheckDriver, HandOverAfterInterruptionsAndFailures) {
  {
    SCOPED_TRACE("a check of three cut short by closing the window, then a check of two");
    MailRig rig;
    for (int i = 0; i < 3; ++i) rig.Configure(i);
    rig.driver.CheckNow();
    rig.Play(0, "connect");
    rig.driver.Result().OnCloseBox();
    EXPECT_TRUE(rig.driver.Pending() == (std::vector<int>{1, 2}) && rig.timers.Runs(TimerId::kMailNextAccount));
    rig.settings.accounts[2].user.clear();
    rig.driver.GetMail();
    rig.Play(0, "close");
    rig.driver.OnTimer(TimerId::kMailNextAccount);
    rig.Play(1, "close");
    rig.driver.OnTimer(TimerId::kMailNextAccount);
    EXPECT_EQ(Contacted(rig), "12");  // the account that no longer takes part is left alone
    EXPECT_FALSE(rig.timers.Runs(TimerId::kMailNextAccount));
  }
  {
    SCOPED_TRACE("the first account cannot connect at all");
    MailRig rig;
    rig.Configure(0);
    rig.Configure(1);
    rig.sockets[0].connectResults = {10049};
    rig.driver.GetMail();
    EXPECT_EQ(rig.dialogs.messages, Strings{"[1] エラーが発生しました。メールチェックできません。"});
    rig.driver.OnTimer(TimerId::kMailNextAccount);
    EXPECT_EQ(Contacted(rig), "12");
    EXPECT_TRUE(rig.driver.Pop3(1).Running());
  }
  {
    SCOPED_TRACE("a check of one account a moment after a check of two ended");
    MailRig rig;
    rig.Configure(0);
    rig.Configure(1);
    rig.driver.GetMail();
    rig.Play(0, "close");
    rig.driver.OnTimer(TimerId::kMailNextAccount);
    rig.Play(1, "close");
    rig.settings.accounts[1].user.clear();
    rig.driver.GetMail();  // before the tick that would have finished the first check
    rig.driver.OnTimer(TimerId::kMailNextAccount);
    EXPECT_TRUE(rig.driver.Pop3(0).Running() && !rig.sockets[0].IsClosed() && rig.schedule.Busy());
    rig.Play(0, "close");
    rig.driver.OnTimer(TimerId::kMailNextAccount);
    EXPECT_FALSE(rig.timers.Runs(TimerId::kMailNextAccount));
  }
}

// The minute tick counts; the interval is compared as a number. The menu item restarts it.
TEST(MailCheckDriver, PeriodicCheck) {
  struct Row {
    std::string interval, counterBefore;
    int ticks, checks;
    std::string counterAfter;
  };
  const Row rows[] = {
      {"1", "0", 3, 3, "0"},    {"05", "0", 10, 2, "0"}, {"5", "0", 7, 1, "2"},
      {"00", "0", 10, 0, "10"}, {"", "0", 10, 0, "10"},  {"0", "0", 4, 0, "4"},
      {"abc", "0", 4, 0, "4"},  {"3", "7", 1, 1, "0"},   {"10", "9", 2, 1, "1"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE("interval \"" + row.interval + "\" from " + row.counterBefore);
    MailRig rig;
    rig.Configure(0);
    rig.settings.interval = row.interval;
    rig.schedule.SetMinuteCounter(row.counterBefore);
    int checks = 0;
    for (int t = 0; t < row.ticks; ++t) {
      rig.driver.OnTimer(TimerId::kPeriodicMail);
      if (rig.driver.Pop3(0).Running()) {
        ++checks;
        rig.Play(0, "login|+OK 0 0\r\n|close");
      }
    }
    EXPECT_EQ(checks, row.checks);
    EXPECT_EQ(rig.sockets[0].sent.size(), 4u * checks);  // each check logs in afresh
    EXPECT_EQ(rig.schedule.MinuteCounter(), row.counterAfter);
    if (checks) {
      EXPECT_FALSE(rig.views.Last().shown);  // no mail: the window stays hidden
    }
  }
  MailRig rig;
  rig.Configure(1);
  rig.schedule.SetMinuteCounter("4");
  rig.driver.CheckNow();
  EXPECT_EQ(rig.schedule.MinuteCounter(), "0");
  EXPECT_TRUE(rig.views.Last().shown);
  EXPECT_EQ(Contacted(rig), "2");
}

}  // namespace
}  // namespace vq::mail
