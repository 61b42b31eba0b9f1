#include "WinSpecialFolders.h"

#include <windows.h>
#include <shlobj.h>

#include "Text.h"

namespace vq::win {

std::string WinSpecialFolders::StartupFolder() const {
  PIDLIST_ABSOLUTE list = nullptr;
  if (FAILED(SHGetSpecialFolderLocation(nullptr, CSIDL_STARTUP, &list)) || !list) return "";
  wchar_t path[MAX_PATH] = L"";
  BOOL ok = SHGetPathFromIDListW(list, path);
  CoTaskMemFree(list);
  return ok ? Narrow(path) : "";
}

}  // namespace vq::win
