#include "win/platform/WinUserFolders.h"

#include <windows.h>
#include <shlobj.h>

#include "win/base/StartupProfile.h"
#include "win/base/Text.h"

namespace vq::win {

std::string WinUserFolders::StartupFolder() const {
  VQ_PROFILE(kFolders);
  // The path straight from the shell folder settings: building an item list for it first would
  // load the whole shell namespace, which a first start then waits for.
  wchar_t path[MAX_PATH] = L"";
  if (FAILED(SHGetFolderPathW(nullptr, CSIDL_STARTUP, nullptr, SHGFP_TYPE_CURRENT, path))) return "";
  return Narrow(path);
}

}  // namespace vq::win
