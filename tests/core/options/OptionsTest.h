#pragma once
#include <gtest/gtest.h>

#include "fakes/FakeDialogs.h"
#include "fakes/FakeOptionsView.h"
#include "fakes/FakeProfileFile.h"
#include "fakes/FakeSystem.h"
#include "fakes/FakeUserFolders.h"
#include "fakes/FakeTimers.h"
#include "options/OptionsController.h"

namespace vq::options {

// The options dialog over a settings file that holds the first start's defaults and two launcher
// entries; every options test shares it, so the suite spans the files of this folder.
class OptionsTest : public ::testing::Test {
 protected:
  OptionsTest() {
    for (const auto& e : DefaultSettings("C:\\")) file.Set(e.section, e.key, e.value);
    file.Set("Lunch0", "2", "メモ帳");
    file.Set("Lunch1", "2", "notepad.exe");
  }
  test::FakeOptionsView& View() { return *views.live; }
  std::vector<std::string> Written() const {
    std::vector<std::string> out;
    for (const auto& w : file.writes) out.push_back(w.section + "/" + w.key + "=" + w.value);
    return out;
  }

  test::FakeProfileFile file;
  Config config{file};
  test::FakeTimers timers;
  mail::MailSchedule schedule{timers};
  test::FakeUserFolders folders;
  test::FakeSystem system;
  test::FakeDialogs dialogs;
  test::FakeOptionsViews views;
  launcher::Launcher launcher{config, system, dialogs};
  launcher::LauncherTable& table = launcher.Table();
  OptionsController options{{config, launcher, schedule, folders, system, dialogs, views}};
};

}  // namespace vq::options
