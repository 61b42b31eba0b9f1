#pragma once
#include <string>

namespace vq::win {

// The folder that holds Vornquill2.exe, with its trailing backslash ("C:\\" stays a root). The working directory
// plays no part in where the program keeps its files.
std::wstring ProgramFolder();

}  // namespace vq::win
