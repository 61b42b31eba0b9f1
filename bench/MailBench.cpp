// Times a mail check under Wine against the local Dovecot, from the menu choice
// "メールチェッカー" > "メールチェック" until the last status line shows its outcome. A check of
// several accounts hands over to the next account on a one-second tick, so three accounts cannot
// finish before 2 s: bench/mail.sh prints the times beside that floor. One account (no hand-over)
// shows what a session itself costs, over POP3 and over IMAP.
//
//   MailBench <runs> <Dovecot port> <Dovecot IMAP port>
//
// Each case runs in one program, its result window closed between runs so that every run starts
// from a fresh one. Prints "<case> <runs> <median ms> <min> <max>" per case. The program under
// test is the one the end-to-end driver copies (VQ_EXE, or the build's own).
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "Driver.h"
#include "win/base/Ids.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr wchar_t kMailClass[] = L"Vornquill2.MailChecker";
const std::string kMail = " 3 通 (10422 バイト) のメールがあります。";

struct Case {
  const char* label;
  std::vector<std::string> users;  // accounts 1, 2, 3; empty: not taking part
  std::vector<std::string> outcomes;
  bool imap = false;
};

std::string Settings(const std::vector<std::string>& users, const std::string& port, bool imap) {
  std::string text = "[a1]\r\n";
  for (int i = 0; i < 3; ++i) {
    const std::string key = "b" + std::to_string(i), user = users[i];
    text += key + "1=" + port + "\r\n" + key + "2=" + (user.empty() ? "" : "127.0.0.1") + "\r\n" + key + "3=" + user +
            "\r\n" + key + "4=" + (user.empty() ? "" : "secret") + "\r\n" + (imap ? key + "6=1\r\n" : "");
  }
  return text + "b5=0\r\nMailler=\r\nb6=1\r\nb7=False\r\nb8=True\r\n[vmc]\r\nTop=0\r\nLeft=0\r\n";
}

HWND ResultWindow(const e2e::App& app) {
  for (const auto& w : app.Windows())
    if (w.className == kMailClass) return w.hwnd;
  return nullptr;
}

bool AllShown(HWND window, const std::vector<std::string>& outcomes) {
  for (int i = 0; i < 3; ++i) {
    if (outcomes[i].empty()) continue;
    if (e2e::Narrow(e2e::WindowText(GetDlgItem(window, vq::win::kMailLineFirst + i))) != outcomes[i]) return false;
  }
  return true;
}

// Milliseconds from the menu choice until every line of the check shows its outcome.
double TimeOneCheck(const e2e::App& app, const Case& c) {
  app.RightPressTrayIcon();
  if (!app.WaitForMenu() || !app.ChooseMenuItem({"メールチェッカー", "メールチェック"}))
    throw std::runtime_error("the menu item could not be chosen");
  const auto chosen = Clock::now();
  HWND window = nullptr;
  for (;;) {
    if (!window) window = ResultWindow(app);
    if (window && AllShown(window, c.outcomes)) break;
    if (Clock::now() - chosen > std::chrono::seconds(30)) throw std::runtime_error("the check did not end");
    Sleep(1);
  }
  const double ms = std::chrono::duration<double, std::milli>(Clock::now() - chosen).count();
  PostMessageW(window, WM_CLOSE, 0, 0);
  if (!e2e::WaitUntil([&] { return !IsWindow(window); })) throw std::runtime_error("the window did not close");
  return ms;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: MailBench <runs> <Dovecot port> <Dovecot IMAP port>\n");
    return 2;
  }
  const int runs = std::max(1, std::atoi(argv[1]));
  const std::string port = argv[2], imapPort = argv[3];
  const Case cases[] = {
      {"three", {"alice", "bob", "alice"}, {"[1]" + kMail, "[2]  メールはありません。", "[3]" + kMail}},
      {"one", {"alice", "", ""}, {"[1]" + kMail, "", ""}},
      {"imap", {"alice", "", ""}, {"[1] 3 通 (未読 2 通) のメールがあります。", "", ""}, true},
  };
  try {
    e2e::EndLeftoverPrograms();
    for (const Case& c : cases) {
      e2e::ProgramFolder folder;
      folder.WriteBytes("Vornquill.ini", e2e::ToShiftJis(Settings(c.users, c.imap ? imapPort : port, c.imap)));
      auto app = e2e::App::Start(folder);
      std::vector<double> times;
      for (int i = 0; i < runs; ++i) times.push_back(TimeOneCheck(*app, c));
      std::sort(times.begin(), times.end());
      const size_t n = times.size();
      const double median = n % 2 ? times[n / 2] : (times[n / 2 - 1] + times[n / 2]) / 2;
      std::printf("%s %d %.1f %.1f %.1f\n", c.label, runs, median, times.front(), times.back());
      std::fflush(stdout);
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "MailBench: %s\n", e.what());
    return 1;
  }
  return 0;
}
