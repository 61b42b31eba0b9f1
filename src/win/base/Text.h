#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace vq::win {

// UTF-8 inside the program, UTF-16 at every Win32 call.
std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view utf16);
// The system's ANSI code page at the file and wire boundaries; characters the code page lacks
// become its default character, as the platform does.
std::string ToAnsi(std::string_view utf8);
// How many bytes ToAnsi would give.
std::size_t AnsiSize(std::string_view utf8);
// The characters ToAnsi would not give back as they are (a best-fit look-alike included), each
// once, in the order they first appear.
std::vector<std::string> LostInAnsi(std::string_view utf8);

}  // namespace vq::win
