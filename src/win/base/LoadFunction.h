#pragma once
#include <windows.h>

#include <atomic>

namespace vq::win {

// A system DLL, from the system folder only: a file of the same name beside the program (in a
// downloads folder, say) would otherwise be loaded in its place. A module the program's manifest
// redirects (the common controls, version 6) is still taken from there, as the loader looks at
// the manifest before any folder.
HMODULE LoadSystemLibrary(const wchar_t* module);

// A function of a system DLL that older systems lack, or that the program wants only when it
// is used: the module is loaded on first use, from the system folder; nullptr when it or the
// function is missing.
template <typename F>
F LoadFunction(const wchar_t* module, const char* name) {
  HMODULE handle = GetModuleHandleW(module);
  if (!handle) handle = LoadSystemLibrary(module);
  return handle ? reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(handle, name))) : nullptr;
}

// Such a function looked up at its first call and kept, from any thread: the mail workers call
// the socket and certificate functions too. Declared at namespace scope it is set up with no
// code at all; two threads that meet at the first call merely look it up twice. (A function's
// own static would bring the library's guarded initialisation and with it a thread library.)
template <typename F>
class LazyFunction {
 public:
  constexpr LazyFunction(const wchar_t* module, const char* name) : module_(module), name_(name) {}

  F Get() const {
    void* found = found_.load(std::memory_order_acquire);
    if (!found) {
      F function = LoadFunction<F>(module_, name_);
      found = function ? reinterpret_cast<void*>(function) : Missing();
      found_.store(found, std::memory_order_release);
    }
    return found == Missing() ? nullptr : reinterpret_cast<F>(found);
  }

 private:
  void* Missing() const { return const_cast<LazyFunction*>(this); }

  const wchar_t* module_;
  const char* name_;
  mutable std::atomic<void*> found_{nullptr};
};

}  // namespace vq::win
