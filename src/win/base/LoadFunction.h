#pragma once
#include <windows.h>

#include <atomic>

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

// Such a function looked up at its first call and kept, from any thread: the mail workers call
// the socket and certificate functions too. Declared at namespace scope it is set up with no
// code at all; two threads that meet at the first call merely look it up twice. (A function's
// own static would bring the library's guarded initialisation and with it a thread library.)
template <typename F>
class LazyFunction {
 public:
  constexpr LazyFunction(const wchar_t* module, const char* name, bool systemOnly = false)
      : module_(module), name_(name), systemOnly_(systemOnly) {}

  F Get() const {
    void* found = found_.load(std::memory_order_acquire);
    if (!found) {
      F function = LoadFunction<F>(module_, name_, systemOnly_);
      found = function ? reinterpret_cast<void*>(function) : Missing();
      found_.store(found, std::memory_order_release);
    }
    return found == Missing() ? nullptr : reinterpret_cast<F>(found);
  }

 private:
  void* Missing() const { return const_cast<LazyFunction*>(this); }

  const wchar_t* module_;
  const char* name_;
  bool systemOnly_;
  mutable std::atomic<void*> found_{nullptr};
};

}  // namespace vq::win
