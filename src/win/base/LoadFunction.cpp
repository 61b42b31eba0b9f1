#include "win/base/LoadFunction.h"

#include <string>

namespace vq::win {

HMODULE LoadSystemLibrary(const wchar_t* module) {
  HMODULE handle = LoadLibraryExW(module, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  // Windows 7 without its 2011 loader update knows no such flag: the full path says the same.
  if (!handle && GetLastError() == ERROR_INVALID_PARAMETER) {
    wchar_t folder[MAX_PATH];
    UINT length = GetSystemDirectoryW(folder, MAX_PATH);
    if (length > 0 && length < MAX_PATH) handle = LoadLibraryW((std::wstring(folder, length) + L"\\" + module).c_str());
  }
  return handle;
}

}  // namespace vq::win
