#pragma once
#include <string>

#include "base/Menu.h"

namespace vq {

// One line per item, submenu items indented, separators as "-", checked items marked "[x]".
inline std::string Render(const Menu& menu, const std::string& indent = "") {
  std::string out;
  for (const auto& item : menu) {
    out += indent + (item.separator ? "-" : item.caption) + (item.checked ? " [x]" : "") + "\n";
    out += Render(item.children, indent + "  ");
  }
  return out;
}

}  // namespace vq
