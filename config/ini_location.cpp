#include "config/ini_location.h"

#include <cstdlib>

namespace kv {

std::string IniFilePath() {
  const char* explicitPath = std::getenv("KESTROVALE_INI");
  if (explicitPath != nullptr && *explicitPath != '\0') return explicitPath;
  std::string folder;
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  const char* home = std::getenv("HOME");
  // The XDG rules ignore a relative XDG_CONFIG_HOME.
  if (xdg != nullptr && xdg[0] == '/') {
    folder = xdg;
  } else if (home != nullptr && *home != '\0') {
    folder = std::string(home) + "/.config";
  } else {
    return "kestro32.ini";
  }
  return folder + "/kestrovale/kestro32.ini";
}

}  // namespace kv
