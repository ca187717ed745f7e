// Where the configuration file lives.
#pragma once

#include <string>

namespace kv {

// KESTROVALE_INI when it is set and not empty; otherwise kestro32.ini in the
// folder "kestrovale" of the user's configuration folder ($XDG_CONFIG_HOME,
// or ~/.config when that is unset or not an absolute path); kestro32.ini in
// the current folder when there is no home folder either.
std::string IniFilePath();

}  // namespace kv
