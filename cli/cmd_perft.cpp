// kestrovale-cli perft FEN DEPTH: the number of legal move sequences of that
// length, decided by the rules core's generators, make/unmake and attack
// tests alone.
#include <charconv>
#include <cinttypes>
#include <cstdio>
#include <string>

#include "cli/command.h"
#include "core/fen.h"
#include "core/perft.h"
#include "core/validation.h"

namespace kv::cli {
namespace {

constexpr int kMaxDepth = 12;

constexpr CommandSpec Spec{
    .name = "perft",
    .operands = "FEN DEPTH",
    .minOperands = 2,
    .maxOperands = AnyNumber,
    .summary = "count the legal move sequences of DEPTH plies",
    .about =
        "Counts the legal move sequences of DEPTH plies (0 to 12) from the position of\n"
        "FEN, with the rules core's generators, make/unmake and attack tests alone. The\n"
        "FEN may be one argument or its fields one by one.\n",
    .exitStatus = "0 counted; 2 bad arguments (a bad FEN or DEPTH)."};

int Run(const Args& input) {
  ParsedOptions parsed;
  if (int exitCode = 0; !ReadCommandLine(input, Spec, parsed, exitCode)) return exitCode;
  const Args& args = parsed.operands;
  // The FEN may come as one quoted argument or as its separate fields.
  std::string fen = args[0];
  for (std::size_t i = 1; i + 1 < args.size(); ++i) fen += " " + args[i];
  const std::string& depthText = args.back();
  int depth = -1;
  const auto [end, ec] =
      std::from_chars(depthText.data(), depthText.data() + depthText.size(), depth);
  if (ec != std::errc() || end != depthText.data() + depthText.size() || depth < 0 ||
      depth > kMaxDepth) {
    return UsageError("perft: DEPTH must be a whole number from 0 to " + std::to_string(kMaxDepth) +
                      ", not '" + depthText + "'");
  }
  Position pos;
  bool whiteToMove = true;
  std::string error;
  if (!ParseFen(fen, pos.board, whiteToMove, &error)) return UsageError("perft: bad FEN: " + error);
  DerivePositionState(pos);
  std::printf("%" PRIu64 "\n", Perft(pos, depth, whiteToMove));
  return ExitOk;
}

Registration reg(Spec, &Run);

}  // namespace
}  // namespace kv::cli
