#include "mail/MailResultWindow.h"

#include <string>

#include "mail/MailMessages.h"
#include "mail/MailNumbers.h"

namespace vq::mail {
namespace {

// The window has always looked its left edge up under this name while writing "Left"; the
// file's key names ignore case, so both meet.
constexpr std::string_view kLeftAsRead = "left";

}  // namespace

MailResultWindow::MailResultWindow(const Ports& ports, std::function<void()> abandonSessions)
    : ports_(ports), abandonSessions_(std::move(abandonSessions)) {}

std::optional<MailWindowPlace> MailResultWindow::StoredPlace() const {
  const auto top = ParseStoredTwips(ports_.config.ReadOption(keys::kMailWindow, keys::kTop));
  const auto left = ParseStoredTwips(ports_.config.ReadOption(keys::kMailWindow, kLeftAsRead));
  if (!top || !left) return std::nullopt;
  return MailWindowPlace{*top, *left};
}

MailResultView& MailResultWindow::View() {
  if (!view_) view_ = ports_.views.CreateMailResultView(*this, StoredPlace());
  return *view_;
}

void MailResultWindow::SetStatusLine(int account, std::string_view text) { View().SetStatusLine(account, text); }
long MailResultWindow::StatusLineHeight(int account) { return View().StatusLineHeight(account); }
void MailResultWindow::PlaceStatusLine(int account, long top) { View().PlaceStatusLine(account, top); }
void MailResultWindow::SetWindowHeight(long height, long linesHeight) { View().SetWindowHeight(height, linesHeight); }
void MailResultWindow::Show() { View().Show(); }

void MailResultWindow::ShowMail(int account, std::string_view text) {
  MailResultView& view = View();
  view.Show();
  view.SetStatusLine(account, text);
  view.AnnounceMail();
}

void MailResultWindow::Close() {
  if (!view_) return;
  // A place the view had to correct (off the screen, or none stored) is not the user's choice;
  // the file keeps what it held until the user moves the window.
  if (const auto moved = view_->MovedPlace()) {
    (void)ports_.config.WriteOption(keys::kMailWindow, keys::kTop, std::to_string(moved->top));
    (void)ports_.config.WriteOption(keys::kMailWindow, keys::kLeft, std::to_string(moved->left));
  }
  abandonSessions_();
  ports_.schedule.SetBusy(false);
  auto view = std::move(view_);
  view->Close();
}

void MailResultWindow::OnMailerClick() {
  abandonSessions_();
  ports_.schedule.SetBusy(false);
  const std::string mailer = ports_.settings.MailerPath();
  // A program that failed to start for a passing reason often starts at the second try.
  for (int attempt = 0; attempt < 2 && !mailer.empty(); ++attempt) {
    switch (ports_.system.Run(mailer).result) {
      case System::RunResult::kStarted:
        Close();
        return;
      case System::RunResult::kNotFound:
        ports_.dialogs.Message(kMailerNotFoundMessage);
        return;
      case System::RunResult::kFailed:
        break;
    }
  }
  ports_.dialogs.Message(kMailerFailedMessage);
}

}  // namespace vq::mail
