// Feeds arbitrary bytes as the solving options of `kestrovale-cli solve
// --options`, followed by a choice of problem and a short twins field, and
// solves as the command does: every digit in every position, with any twins,
// must give a solution text without a crash. The search is broken off after
// a bounded number of polls or a bounded time, whichever comes first, so
// that one input stays quick: the searches poll after different amounts of
// work (a series search node costs far more than a helpmate node), so a
// poll count alone lets some inputs run for most of a minute.
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "cli/solve_support.h"
#include "core/fen.h"
#include "solver/solve_driver.h"
#include "solver/solve_options_logic.h"
#include "solver/twins.h"

namespace {

struct Problem {
  const char* board;
  const char* type;
};
// Small problems with solutions, one of each kind the solver takes: the
// mates, the stalemate goals, one-movers, a maximummer and a series
// helpmate.
constexpr Problem kProblems[] = {
    {"8/2pN4/2n5/1N1p2b1/4k3/7K/3P4/5Q2", "#2"},
    {"8/8/q7/8/1R4K1/k2N4/8/8", "h#2"},
    {"2N2bBR/4P1k1/7p/2N2p1P/3p1P2/1PpP4/2Kp4/1n1R4", "s#2"},
    {"8/P1Nr3P/1PpR2rq/6p1/1pp2p2/1Nk5/2P5/1K1R4", "r#2"},
    {"8/8/8/pp6/k1P5/1p6/pK6/8", "h=2"},
    {"k7/8/1K6/8/8/8/8/6Q1", "=2"},
    {"7n/2p1Pp2/2PppRp1/2pk2P1/B1Np4/3Kp3/4P3/8", "s=2"},
    {"8/8/8/8/8/k6P/p7/K3n3", "r#1"},
    {"k3N3/P7/K7/8/8/8/8/8", "#1"},
    {"8/8/7N/5K2/4B3/2Qbk3/4p3/8", "h#0.5"},
    {"8/7q/8/8/8/8/1p1P1k2/3K4", "s#10 max"},
    {"8/8/8/8/8/k7/p1K5/8", "h=3 max"},
    {"8/8/1kqn3K/1npb4/2rr4/8/5N2/8", "ser-h#8"},
};
constexpr std::size_t kProblemCount = sizeof kProblems / sizeof kProblems[0];
constexpr std::size_t kTwinBytesKept = 1 + 4 * 3;  // the mode and three entries
constexpr int kMaxPolls = 20000;
constexpr std::chrono::seconds kMaxSearchTime{2};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  if (input.size() < kv::OptionCount + 1) return 0;
  auto setup = std::make_unique<kv::cli::SolveSetup>();
  if (!kv::cli::ParseOptionDigits(input.substr(0, kv::OptionCount), setup->options)) return 0;
  const Problem& problem =
      kProblems[static_cast<unsigned char>(input[kv::OptionCount]) % kProblemCount];
  kv::ParseFenBoard(problem.board, setup->pos.board, nullptr);
  kv::ParseProblemType(problem.type, setup->type);
  // The twins as `solve --twins` stores them: no zero byte, a usual or
  // successive mode byte.
  std::string twins(input.substr(kv::OptionCount + 1, kTwinBytesKept));
  twins = twins.substr(0, twins.find('\0'));
  if (!twins.empty() && twins[0] != kv::TwinModeSuccessive) twins[0] = kv::TwinModeUsual;
  setup->twins = twins;

  kv::SwitchOptionsToKind(setup->options, setup->type.kind);
  // As the command does: a type the solver does not take is not solved.
  if (!kv::CanSolve(setup->type)) return 0;
  int polls = 0;
  const auto deadline = std::chrono::steady_clock::now() + kMaxSearchTime;
  kv::UiCallbacks ui;
  ui.breakPoll = [&polls, deadline] {
    return ++polls > kMaxPolls || std::chrono::steady_clock::now() > deadline;
  };
  kv::Language language;
  auto solver = std::make_unique<kv::Solver>();
  kv::SolveEnvironment solve{setup->pos, setup->type, setup->options, setup->twins, language, ui};
  kv::SolveEntry(*solver, solve, setup->type.moves);
  return 0;
}
