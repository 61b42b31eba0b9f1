#pragma once
#include <windows.h>

namespace vq::win {

// A function of a system DLL that older systems lack, or that the program wants only when it
// is used: the module is loaded on first use; nullptr when it or the function is missing.
// `systemOnly` for a module that is not one of Windows' known DLLs: a file of that name beside
// the program (in a downloads folder, say) would otherwise be loaded in its place.
template <typename F>
F LoadFunction(const wchar_t* module, const char* name, bool systemOnly = false) {
  HMODULE handle = GetModuleHandleW(module);
  if (!handle)
    handle = systemOnly ? LoadLibraryExW(module, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32) : LoadLibraryW(module);
  return handle ? reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(handle, name))) : nullptr;
}

}  // namespace vq::win
