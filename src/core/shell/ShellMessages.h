#pragma once

namespace vq {

// The second start of the program says this and ends.
inline constexpr char kAlreadyRunningMessage[] = "このアプリケーションはすでに開かれています。";

}  // namespace vq
