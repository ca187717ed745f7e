#include "cli/solve_support.h"

#include <csignal>
#include <cstdio>

#include "strings/encoding.h"
#include "strings/line_ends.h"

namespace kv::cli {
namespace {

volatile std::sig_atomic_t breakFlag = 0;

extern "C" void OnInterrupt(int) {
  breakFlag = 1;
  std::signal(SIGINT, SIG_DFL);
}

}  // namespace

bool ParseOptionDigits(std::string_view digits, SolveOptions& options) {
  if (digits.size() != OptionCount) return false;
  for (char c : digits)
    if (c < '0' || c > '9') return false;
  for (int i = 0; i < OptionCount; ++i) options.values[i] = digits[i] - '0';
  return true;
}

void InstallBreakHandler() {
  std::signal(SIGINT, OnInterrupt);
}

bool BreakRequested() {
  return breakFlag != 0;
}

UiCallbacks StderrCallbacks(bool quiet) {
  UiCallbacks ui;
  if (!quiet) {
    ui.statusText = [](int part, const std::string& text) {
      if ((part == 2 || part == 4) && !text.empty())
        std::fprintf(stderr, "%s\n", Cp1252ToUtf8(text).c_str());
    };
  }
  ui.messageBox = [](const std::string& text, const std::string& caption, int) {
    if (caption.empty()) {
      std::fprintf(stderr, "%s\n", Cp1252ToUtf8(text).c_str());
    } else {
      std::fprintf(stderr, "%s: %s\n", Cp1252ToUtf8(caption).c_str(), Cp1252ToUtf8(text).c_str());
    }
    return IdOk;
  };
  ui.breakPoll = [] { return BreakRequested(); };
  return ui;
}

bool ParseThreads(const std::string& value, int& threads, std::string* error) {
  if (value != "1" && value != "2") {
    if (error != nullptr) *error = "--threads wants 1 or 2, not '" + value + "'";
    return false;
  }
  threads = value[0] - '0';
  return true;
}

std::string PaneTextForTerminal(std::string_view text) {
  std::string out = Cp1252ToUtf8(CrlfToLf(text));
  if (!out.empty() && out.back() != '\n') out += '\n';
  return out;
}

}  // namespace kv::cli
