#include "base/Menu.h"

#include <utility>

namespace vq {

int OffsetIn(MenuCommand command, MenuCommand first, MenuCommand last) {
  int c = static_cast<int>(command);
  if (c < static_cast<int>(first) || c > static_cast<int>(last)) return -1;
  return c - static_cast<int>(first);
}

MenuItem MenuItem::Command(std::string caption, MenuCommand command, bool checked) {
  MenuItem item;
  item.caption = std::move(caption);
  item.command = command;
  item.checked = checked;
  return item;
}

MenuItem MenuItem::Separator() {
  MenuItem item;
  item.separator = true;
  return item;
}

MenuItem MenuItem::Submenu(std::string caption, std::vector<MenuItem> children) {
  MenuItem item;
  item.caption = std::move(caption);
  item.children = std::move(children);
  return item;
}

}  // namespace vq
