#pragma once
#include <array>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "config/Settings.h"
#include "mail/result/MailResultView.h"

namespace vq::test {

// What one result window went through; it outlives the window.
struct MailWindowRecord {
  WindowPlace createdAt;
  std::array<std::string, kAccountCount> lines;
  std::array<long, kAccountCount> tops{0, 240, 480};
  long height = 0;
  bool shown = false;
  bool announced = false;
  bool closed = false;
};

class FakeMailResultView : public mail::MailResultView {
 public:
  FakeMailResultView(MailWindowRecord& record, const std::array<long, kAccountCount>& lineHeights,
                     std::vector<std::string>* timeline, FakeMailResultView*& live)
      : record_(record), lineHeights_(lineHeights), timeline_(timeline), live_(live) {
    live_ = this;
  }
  ~FakeMailResultView() override {
    if (live_ == this) live_ = nullptr;
  }

  void SetStatusLine(int account, std::string_view text) override {
    record_.lines[account] = std::string(text);
    Log("line " + std::to_string(account) + " " + std::string(text));
  }
  // An empty line reports no height, so heights read before the text was set show up.
  long StatusLineHeight(int account) const override {
    return record_.lines[account].empty() ? 0 : lineHeights_[account];
  }
  void PlaceStatusLine(int account, long top) override { record_.tops[account] = top; }
  void SetWindowHeight(long height, long) override { record_.height = height; }
  void Show() override {
    record_.shown = true;
    Log("show");
  }
  void AnnounceMail() override {
    record_.announced = true;
    Log("announce");
  }
  std::optional<WindowPlace> MovedTo() const override { return movedTo; }
  void Close() override {
    record_.closed = true;
    Log("close");
  }

  std::optional<WindowPlace> movedTo;  // set by a test as the user's drag

 private:
  void Log(std::string entry) {
    if (timeline_) timeline_->push_back(std::move(entry));
  }
  MailWindowRecord& record_;
  const std::array<long, kAccountCount>& lineHeights_;
  std::vector<std::string>* timeline_;
  FakeMailResultView*& live_;
};

class FakeMailResultViews : public mail::MailResultViewFactory {
 public:
  std::unique_ptr<mail::MailResultView> CreateMailResultView(mail::MailResult&, const WindowPlace& stored) override {
    windows.emplace_back().createdAt = stored;
    return std::make_unique<FakeMailResultView>(windows.back(), lineHeights, timeline, live);
  }
  // The latest window, open or closed.
  MailWindowRecord& Last() { return windows.back(); }

  std::deque<MailWindowRecord> windows;  // every window created, in order
  FakeMailResultView* live = nullptr;
  std::array<long, kAccountCount> lineHeights{195, 225, 255};
  std::vector<std::string>* timeline = nullptr;
};

}  // namespace vq::test
