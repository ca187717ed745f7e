// The state the solve driver works on, as the window holds it, for the
// tests of the texts it writes.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/fen.h"
#include "solver/solve_driver.h"
#include "solver/solve_options_logic.h"
#include "strings/line_ends.h"

namespace kv::test {

// A fresh program state: the position, the problem's type and twins, the
// options as the configuration default and the kind's set make them.
struct DriverWorld {
  Position pos;
  ProblemType type;
  SolveOptions options;
  std::string twins;
  Language language;
  UiCallbacks ui;
  std::vector<std::string> messages;
  std::vector<std::string> status4;
  int polls = 0;
  int breakAfterPolls = -1;  // the user breaks off at this poll
  std::unique_ptr<Solver> solver = std::make_unique<Solver>();
  SolveEnvironment env{pos, type, options, twins, language, ui};

  DriverWorld(const char* fen, const char* stip, const char* optionDigits = nullptr,
              int languageBase = LanguageEnglish) {
    EXPECT_TRUE(ParseFenBoard(fen, pos.board, nullptr)) << fen;
    EXPECT_TRUE(ParseProblemType(stip, type)) << stip;
    language.base = languageBase;
    if (optionDigits != nullptr) {
      for (int i = 0; i < OptionCount; ++i) options.values[i] = optionDigits[i] - '0';
    }
    SwitchOptionsToKind(options, type.kind);
    ui.messageBox = [this](const std::string& text, const std::string&, int) {
      messages.push_back(text);
      return IdOk;
    };
    ui.statusText = [this](int part, const std::string& text) {
      if (part == 4) status4.push_back(text);
    };
    ui.breakPoll = [this] { return breakAfterPolls >= 0 && ++polls > breakAfterPolls; };
  }
  std::string Solve(int n = 0) { return CrlfToLf(SolveEntry(*solver, env, n ? n : type.moves)); }
};

}  // namespace kv::test
