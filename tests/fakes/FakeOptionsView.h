#pragma once
#include <memory>
#include <optional>

#include "options/OptionsController.h"
#include "options/OptionsView.h"

namespace vq::test {

// The dialog's fields; tests type into `values` as the user would.
class FakeOptionsView : public options::OptionsView {
 public:
  explicit FakeOptionsView(FakeOptionsView*& live) : live_(live) { live_ = this; }
  ~FakeOptionsView() override {
    if (live_ == this) live_ = nullptr;
  }
  void Show(const options::OptionsValues& v) override { values = v; }
  void SelectPage(options::OptionsPage p, std::optional<int> sub) override {
    page = p;
    if (sub) mailSubPage = *sub;
  }
  options::OptionsValues Values() const override { return values; }
  void RefreshLauncher() override { ++launcherRefreshes; }
  std::optional<WindowPlace> MovedTo() const override { return movedTo; }
  void Close() override { closed = true; }

  options::OptionsValues values;
  options::OptionsPage page = options::OptionsPage::kGeneral;
  int mailSubPage = 0;
  int launcherRefreshes = 0;
  std::optional<WindowPlace> movedTo = WindowPlace{600, 900};  // the user's drag; nullopt: not moved
  bool closed = false;

 private:
  FakeOptionsView*& live_;
};

class FakeOptionsViews : public options::OptionsViewFactory {
 public:
  std::unique_ptr<options::OptionsView> CreateOptionsView(options::OptionsController& c) override {
    ++created;
    controller = &c;
    return std::make_unique<FakeOptionsView>(live);
  }
  FakeOptionsView* live = nullptr;
  options::OptionsController* controller = nullptr;  // what the dialog's buttons call
  int created = 0;
};

}  // namespace vq::test
