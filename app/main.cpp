// kestrovale: the program's entry.
#include <QApplication>
#include <cstdio>
#include <string_view>

#include "app/startup.h"

#ifndef KESTROVALE_VERSION
#define KESTROVALE_VERSION "unknown"
#endif

namespace {

constexpr const char* HelpText =
    "usage: kestrovale [FILE]\n"
    "\n"
    "Opens the collection FILE (a file of another kind is imported first into a\n"
    "collection of the same name); without FILE, the last collection at the problem\n"
    "shown last. With a window open already, the file goes to that window.\n"
    "\n"
    "  -h, --help     this text\n"
    "  --version      the version\n";

}  // namespace

int main(int argc, char** argv) {
  // Asked before any window: a file of these names would be opened as "./--help".
  if (argc == 2) {
    const std::string_view arg = argv[1];
    if (arg == "--help" || arg == "-h") {
      std::fputs(HelpText, stdout);
      return 0;
    }
    if (arg == "--version") {
      std::printf("kestrovale %s\n", KESTROVALE_VERSION);
      return 0;
    }
  }
  QApplication application(argc, argv);
  return kv::app::RunProgram(application);
}
