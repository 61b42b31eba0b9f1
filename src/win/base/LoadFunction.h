#pragma once
#include <windows.h>

namespace vq::win {

// A function of a system DLL that older systems lack, or that the program wants only when it
// is used: the module is loaded on first use; nullptr when it or the function is missing.
template <typename F>
F LoadFunction(const wchar_t* module, const char* name) {
  HMODULE handle = GetModuleHandleW(module);
  if (!handle) handle = LoadLibraryW(module);
  return handle ? reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(handle, name))) : nullptr;
}

}  // namespace vq::win
