#include "strings/menu.h"

#include <algorithm>

namespace kv {
namespace {

std::size_t HintStart(std::string_view text) {
  const std::size_t pos = text.find_first_of("\b\t");
  return pos == std::string_view::npos ? text.size() : pos;
}

const MenuItem* Find(const std::vector<MenuItem>& items, int id) {
  for (const MenuItem& item : items) {
    if (item.kind == MenuItemKind::Command && item.id == id) return &item;
    if (item.kind == MenuItemKind::Popup) {
      if (const MenuItem* found = Find(item.items, id)) return found;
    }
  }
  return nullptr;
}

}  // namespace

Menu BuildMenu(const std::vector<MenuLine>& lines) {
  Menu menu;
  // open[k] is the popup that holds the items of level k + 1. Pushing into a
  // popup's items moves only its children, never the ancestors kept here.
  std::vector<MenuItem*> open;
  for (const MenuLine& line : lines) {
    const std::size_t level = std::min<std::size_t>(
        line.level < 0 ? 0 : static_cast<std::size_t>(line.level), open.size());
    open.resize(level);
    std::vector<MenuItem>& target = level == 0 ? menu : open.back()->items;
    target.push_back({line.kind, line.id, std::string(line.text), {}});
    if (line.kind == MenuItemKind::Popup) open.push_back(&target.back());
  }
  return menu;
}

std::string_view MenuLabel(std::string_view text) {
  return text.substr(0, HintStart(text));
}

std::string_view MenuHint(std::string_view text) {
  const std::size_t start = HintStart(text);
  return start < text.size() ? text.substr(start + 1) : std::string_view();
}

std::string MenuTitle(std::string_view text) {
  std::string title;
  for (char c : MenuLabel(text)) {
    if (c != '&' && c != '.') title += c;
  }
  return title;
}

const MenuItem* FindMenuItem(const Menu& menu, int id) {
  return Find(menu, id);
}

}  // namespace kv
