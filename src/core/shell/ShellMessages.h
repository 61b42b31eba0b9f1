#pragma once

namespace vq::shell {

// The second start of the program says this and ends.
inline constexpr char kAlreadyRunningMessage[] = "このアプリケーションはすでに開かれています。";

}  // namespace vq::shell
