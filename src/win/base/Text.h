#pragma once
#include <string>
#include <string_view>

namespace vq::win {

// UTF-8 inside the program, UTF-16 at every Win32 call.
std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view utf16);

}  // namespace vq::win
