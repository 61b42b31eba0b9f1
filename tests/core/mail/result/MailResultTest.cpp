#include <gtest/gtest.h>

#include "fakes/FakeMailPorts.h"
#include "mail/text/MailMessages.h"

namespace vq::mail {
namespace {

using test::Contacted;
using test::MailRig;
using Strings = std::vector<std::string>;

// The place is read from "Top" and "left" as every window's place is read, and handed to the
// window; it is written back only when the user moved the window.
TEST(MailResult, StoredPlace) {
  struct Row {
    std::optional<std::string> top, left;  // nullopt: no such key
    WindowPlace place;
  };
  const Row rows[] = {
      {"1200", "3000", {1200, 3000}}, {"0", "0", {0, 0}},        {"12.6", "-40", {13, -40}},
      {" 7 ", "+8", {7, 8}},          {"", "3000", {0, 3000}},   {"abc", "12abc", {0, 12}},
      {"1", "1e3", {1, 1000}},        {"1", "99999999", {1, 0}}, {std::nullopt, std::nullopt, {0, 0}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.top.value_or("(none)") + " / " + row.left.value_or("(none)"));
    MailRig rig;
    if (row.top) rig.file.Set("vmc", "Top", *row.top);
    if (row.left) rig.file.Set("vmc", "Left", *row.left);
    rig.driver.Result().Show();
    EXPECT_EQ(rig.views.Last().createdAt, row.place);
    rig.driver.Result().OnCloseBox();
    EXPECT_TRUE(rig.file.writes.empty());

    rig.driver.Result().Show();
    rig.views.live->movedTo = WindowPlace{-500, 7200};
    rig.driver.Result().OnCloseBox();
    EXPECT_EQ(rig.file.writes, (std::vector<ProfileEntry>{{"vmc", "Top", "-500"}, {"vmc", "Left", "7200"}}));
    rig.driver.Result().Show();
    EXPECT_EQ(rig.views.Last().createdAt, (WindowPlace{-500, 7200}));
  }
}

TEST(MailResult, ClosingItAbandonsTheRunningSessionSilently) {
  MailRig rig;
  rig.Configure(0);
  rig.Configure(1);
  rig.driver.CheckNow();
  rig.Play(0, "connect|+OK\r\n|sent");
  rig.driver.Result().OnCloseBox();
  EXPECT_TRUE(rig.views.Last().closed && !rig.driver.Result().IsOpen());
  EXPECT_FALSE(rig.schedule.Busy() || rig.driver.Pop3(0).Running() || rig.driver.SessionEnded());
  for (const auto& socket : rig.sockets) EXPECT_TRUE(socket.IsClosed());
  EXPECT_FALSE(rig.timers.Runs(TimerId::kMailNoAnswer));
  // Late events of the dropped connection and the timers find nothing to do.
  rig.Play(0, "+OK\r\n|close|silence");
  rig.driver.OnTimer(TimerId::kMailNextAccount);
  EXPECT_EQ(rig.Sent(0), "USER user1\r\n");
  EXPECT_TRUE(rig.dialogs.messages.empty());
  EXPECT_EQ(Contacted(rig), "1");
  EXPECT_EQ(rig.views.windows.size(), 1u);  // nothing brought the window back
}

TEST(MailResult, MailerLabel) {
  using R = System::RunResult;
  struct Row {
    std::string mailer;
    std::deque<System::RunOutcome> outcomes;
    int runs;
    std::string message;
  };
  const std::string failed(kMailerFailedMessage), notFound = "メーラーが見つかれません";
  const Row rows[] = {
      {"mailer.exe", {{R::kStarted}}, 1, ""},
      {"mailer.exe", {{R::kNotFound, 2}}, 1, notFound},
      {"mailer.exe", {{R::kFailed, 5}, {R::kStarted}}, 2, ""},
      {"mailer.exe", {{R::kFailed, 5}, {R::kNotFound, 2}}, 2, notFound},
      {"mailer.exe", {{R::kFailed, 5}, {R::kFailed, 5}}, 2, failed},
      {"", {}, 0, failed},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(::testing::Message() << row.outcomes.size() << " " << row.message);
    MailRig rig;
    rig.Configure(0);
    rig.settings.mailer = row.mailer;
    rig.system.outcomes = row.outcomes;
    rig.driver.CheckNow();
    rig.Play(0, "connect");
    rig.driver.Result().OnMailerClick();
    EXPECT_EQ(rig.system.runs, Strings(row.runs, row.mailer));
    EXPECT_EQ(rig.dialogs.messages, row.message.empty() ? Strings{} : Strings{row.message});
    EXPECT_EQ(rig.dialogs.about, std::vector<const BoxOwner*>(rig.dialogs.messages.size(), rig.views.live));
    EXPECT_EQ(rig.driver.Result().IsOpen(), !row.message.empty());  // started: the window goes
    EXPECT_FALSE(rig.schedule.Busy() || rig.driver.Pop3(0).Running());
    EXPECT_TRUE(rig.sockets[0].IsClosed());
  }
}

}  // namespace
}  // namespace vq::mail
