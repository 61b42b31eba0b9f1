#pragma once
#include <memory>
#include <optional>
#include <string_view>

#include "base/Twips.h"
#include "ports/Dialogs.h"

namespace vq::mail {

class MailResult;

// The small window with one status line per account and the label that starts the mailer.
// Every size and place is in twips.
class MailResultView : public BoxOwner {
 public:
  virtual ~MailResultView() = default;
  // The line sizes itself to its text.
  virtual void SetStatusLine(int account, std::string_view text) = 0;
  // The line's height as its present text makes it.
  virtual long StatusLineHeight(int account) const = 0;
  virtual void PlaceStatusLine(int account, long top) = 0;
  // The outer height, or more where the frame takes more than the difference: the client area
  // always holds `linesHeight`. The width stays.
  virtual void SetWindowHeight(long height, long linesHeight) = 0;
  // Modeless and without an owner.
  virtual void Show() = 0;
  // Mail is waiting: the mailer label turns yellow for as long as the window stays open, and
  // the window comes to the front of every window without staying on top of them.
  virtual void AnnounceMail() = 0;
  // Where the user moved the window to; nullopt while it stands where it was created.
  virtual std::optional<WindowPlace> MovedTo() const = 0;
  // Destroys the window; nothing is reported back to the controller.
  virtual void Close() = 0;
};

class MailResultViewFactory {
 public:
  virtual ~MailResultViewFactory() = default;
  // Creates the window hidden, at the stored place, moved just enough to be seen when that
  // place is off every screen. The window reports the mailer label's click and its close box
  // to `controller` (OnMailerClick, OnCloseBox).
  virtual std::unique_ptr<MailResultView> CreateMailResultView(MailResult& controller, const WindowPlace& stored) = 0;
};

}  // namespace vq::mail
