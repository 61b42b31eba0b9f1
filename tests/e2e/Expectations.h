#pragma once
#include <shlobj.h>

#include <string>

#include "Driver.h"

namespace e2e {

// The settings file a first start writes, as bytes: Shift-JIS, CR LF, in the profile
// functions' layout. The mailer default takes the drive of this user's Startup folder.
inline std::string FirstStartSettingsBytes() {
  wchar_t startup[MAX_PATH] = L"";
  SHGetSpecialFolderPathW(nullptr, startup, CSIDL_STARTUP, FALSE);
  std::string drive = Narrow(std::wstring(startup, startup[0] ? 1 : 0));
  std::string text =
      "[a1]\r\nb01=110\r\nb02=\r\nb03=\r\nb04=\r\nb11=110\r\nb12=\r\nb13=\r\nb14=\r\n"
      "b21=110\r\nb22=\r\nb23=\r\nb24=\r\nb5=0\r\n"
      "Mailler=" +
      drive +
      ":\\Program Files\\Outlook Express\\msimn.exe\r\n"
      "b6=1\r\nb7=True\r\nb8=False\r\n"
      "[Fusen]\r\nFontName=ＭＳ Ｐゴシック\r\nFontSize=9\r\nBackColor=&HFFFFFF\r\nForeColor=&H0\r\n"
      "Top=0\r\nLeft=0\r\n"
      "[Option]\r\nTop=0\r\nLeft=0\r\n"
      "[vmc]\r\nTop=0\r\nLeft=0\r\n";
  return ToShiftJis(text);
}

inline const char kAlreadyOpen[] = "このアプリケーションはすでに開かれています。";

}  // namespace e2e
