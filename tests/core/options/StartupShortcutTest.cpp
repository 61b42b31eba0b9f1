#include <gtest/gtest.h>

#include "core/options/OptionsTest.h"
#include "options/OptionsMessages.h"
#include "options/StartupShortcut.h"

namespace vq::options {
namespace {

TEST_F(OptionsTest, StartupShortcutIsWrittenAndRemovedWithItsMessages) {
  EXPECT_EQ(StartupShortcutText("C:\\Apps\\Tool"),
            "[InternetShortcut]\r\nURL=C:\\Apps\\Tool\\Vornquill2.exe\r\nIconFile=C:\\Apps\\Tool\\Vornquill2.exe\r\n"
            "IconIndex=0\r\n");
  // At a drive root the folder already ends in "\".
  EXPECT_EQ(StartupShortcutText("D:\\"),
            "[InternetShortcut]\r\nURL=D:\\Vornquill2.exe\r\nIconFile=D:\\Vornquill2.exe\r\nIconIndex=0\r\n");
  std::string path = folders.startup + "\\Vornquill2.url";
  options.RegisterStartup();
  EXPECT_EQ(system.files[path], StartupShortcutText("C:\\Apps\\Tool"));
  options.RemoveStartup();
  options.RemoveStartup();
  EXPECT_EQ(dialogs.messages,
            (std::vector<std::string>{"スタートアップに登録しました。", "スタートアップから削除しました。",
                                      "ファイルが見つかりません。"}));
  system.failWrites = true;
  options.RegisterStartup();
  EXPECT_NE(dialogs.messages.back().find(path), std::string::npos);
  folders.startup = "";
  options.RegisterStartup();
  EXPECT_EQ(dialogs.messages.back(), "スタートアップフォルダが見つかりません。");
}

}  // namespace
}  // namespace vq::options
