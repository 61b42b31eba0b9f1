#pragma once
#include <map>
#include <string>
#include <vector>

#include "options/OptionsController.h"
#include "ports/OptionsView.h"
#include "ports/System.h"

namespace vq::test {

class FakeSystem : public System {
 public:
  RunOutcome Run(const std::string& commandLine) override {
    runs.push_back(commandLine);
    return outcome;
  }
  bool WriteTextFile(const std::string& path, const std::string& text) override {
    if (failWrites) return false;
    files[path] = text;
    return true;
  }
  DeleteResult RemoveFile(const std::string& path) override {
    if (failDeletes) return DeleteResult::kFailed;
    return files.erase(path) ? DeleteResult::kDeleted : DeleteResult::kMissing;
  }
  std::string ProgramFolder() const override { return folder; }

  std::vector<std::string> runs;
  RunOutcome outcome;
  std::map<std::string, std::string> files;
  bool failWrites = false, failDeletes = false;
  std::string folder = "C:\\Apps\\Tool";
};

// The dialog's fields; tests type into `values` as the user would.
class FakeOptionsView : public OptionsView {
 public:
  explicit FakeOptionsView(FakeOptionsView*& live) : live_(live) { live_ = this; }
  ~FakeOptionsView() override {
    if (live_ == this) live_ = nullptr;
  }
  void Show(const OptionsValues& v) override { values = v; }
  void SelectPage(OptionsPage p, std::optional<int> sub) override {
    page = p;
    if (sub) mailSubPage = *sub;
  }
  OptionsValues Values() const override { return values; }
  void RefreshLauncher() override { ++launcherRefreshes; }
  NotePlace Place() const override { return place; }
  void Close() override { closed = true; }

  OptionsValues values;
  OptionsPage page = OptionsPage::kGeneral;
  int mailSubPage = 0;
  int launcherRefreshes = 0;
  NotePlace place{600, 900};
  bool closed = false;

 private:
  FakeOptionsView*& live_;
};

class FakeOptionsViews : public OptionsViewFactory {
 public:
  std::unique_ptr<OptionsView> CreateOptionsView(OptionsController&) override {
    ++created;
    return std::make_unique<FakeOptionsView>(live);
  }
  FakeOptionsView* live = nullptr;
  int created = 0;
};

}  // namespace vq::test
