// The toolbar's icons: drawings of the program's own (resources/icons/*.svg)
// rendered at whatever size and pixel density a screen asks, so that they
// stay sharp on a high-density screen.
#pragma once

#include <QIcon>
#include <QString>
#include <vector>

namespace kv::app {

// The icon of a toolbar command (an empty icon for a command without one).
QIcon CommandIcon(int command);
// The drawing's resource name for a command, empty when it has none.
QString CommandIconName(int command);
// The commands that have an icon, in toolbar order.
const std::vector<int>& CommandsWithIcons();

}  // namespace kv::app
