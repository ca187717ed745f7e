// kestrovale-print: renders a diagram sheet or a report of a collection
// without a screen, for scripts (kestrovale-cli print runs it).
//   kestrovale-print --format pdf|png --kind diagrams|report FILE.kvl OUT
//                    [-n N[,M...]] [--lang fr|en|it|es] [--output VALUE]
// A PDF is one A4 file; PNG pages are written as OUT-1.png, OUT-2.png ...
#include <QApplication>
#include <QPrinter>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "print/print_cli.h"

// Under the leak checker of the sanitized builds: fontconfig keeps its
// caches until the process ends, which is not a leak of ours. The leak
// checker looks the function up by name, so it keeps external linkage and
// the reserved name the sanitizer runtime gives it.
// NOLINTBEGIN(bugprone-reserved-identifier)
extern "C" const char* __lsan_default_suppressions();
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfontconfig\n";
}
// NOLINTEND(bugprone-reserved-identifier)

#ifndef KESTROVALE_VERSION
#define KESTROVALE_VERSION "unknown"
#endif

int main(int argc, char** argv) {
  // Help and version need no drawing; only options before "--" ask for them.
  for (int i = 1; i < argc && std::string_view(argv[i]) != "--"; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--help" || arg == "-h") {
      std::fputs(kv::print::PrintHelpText().c_str(), stdout);
      return kv::print::PrintExitOk;
    }
    if (arg == "--version") {
      std::printf("kestrovale-print %s\n", KESTROVALE_VERSION);
      return kv::print::PrintExitOk;
    }
  }
  // Headless: the pages are drawn off screen whatever display there is.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  std::vector<std::string> args(argv + 1, argv + argc);
  return kv::print::RunPrintCommand(args);
}
