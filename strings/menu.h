// Menus as data: the menu bar of each language, built-in or read from a
// string file, so that a window toolkit only builds what this data says.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kv {

enum class MenuItemKind : unsigned char { Command, Separator, Popup };

// The character that separates an item's text from its accelerator hint,
// which is shown right-aligned ("&Open...\bF9").
inline constexpr char MenuHintSeparator = '\b';

struct MenuItem {
  MenuItemKind kind = MenuItemKind::Command;
  int id = 0;                   // the command id of a command item
  std::string text;             // Windows-1252, "&" before the mnemonic
  std::vector<MenuItem> items;  // the items of a popup
};

// The menu bar: its popups in order.
using Menu = std::vector<MenuItem>;

// A menu written as lines, as the built-in tables hold it: level 0 is the
// menu bar; the items of a popup at level n follow it at level n + 1.
struct MenuLine {
  int level;
  MenuItemKind kind;
  int id;
  std::string_view text;
};

// The tree of a list of menu lines. Lines whose level does not follow from
// the line before are attached to the nearest popup above them.
Menu BuildMenu(const std::vector<MenuLine>& lines);

// The text of an item before its accelerator hint (a '\b' or a tab).
std::string_view MenuLabel(std::string_view text);
// The accelerator hint of an item ("F9"), empty when it has none.
std::string_view MenuHint(std::string_view text);
// The text of an item as a dialog title: the label without "&" and ".".
std::string MenuTitle(std::string_view text);

// The item with this command id anywhere in the menu, or nullptr.
const MenuItem* FindMenuItem(const Menu& menu, int id);

}  // namespace kv
