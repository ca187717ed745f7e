// kestrovale-cli mate1 FEN: every White move that mates at once, found by
// the fast mate test and checked against brute force.
#include <cstdio>
#include <string>
#include <vector>

#include "cli/command.h"
#include "core/fen.h"
#include "core/notation.h"
#include "core/perft.h"
#include "core/rules.h"
#include "core/tables.h"
#include "core/validation.h"

namespace kv::cli {
namespace {

constexpr CommandSpec Spec{
    .name = "mate1",
    .operands = "FEN",
    .minOperands = 1,
    .maxOperands = AnyNumber,
    .summary = "list White's moves that mate at once (English long notation)",
    .about =
        "Lists every White move that mates at once, found by the fast mate test and\n"
        "checked against brute force. The FEN may be one argument or its fields one by\n"
        "one; White must be to move.\n",
    .exitStatus =
        "0 listed (none when there is no mate); 1 the fast test and brute force "
        "disagree (\"disagree\" is printed); 2 bad arguments (a bad FEN or position)."};

int Run(const Args& input) {
  ParsedOptions parsed;
  if (int exitCode = 0; !ReadCommandLine(input, Spec, parsed, exitCode)) return exitCode;
  const Args& args = parsed.operands;
  std::string fen = args[0];
  for (std::size_t i = 1; i < args.size(); ++i) fen += " " + args[i];
  Position pos;
  bool whiteToMove = true;
  std::string error;
  if (!ParseFen(fen, pos.board, whiteToMove, &error)) return UsageError("mate1: bad FEN: " + error);
  if (!whiteToMove) return UsageError("mate1: the position must have White to move");
  DerivePositionState(pos);
  if (!IsSquare(pos.whiteKingSquare) || !IsSquare(pos.blackKingSquare)) {
    return UsageError("mate1: the position needs a white and a black king");
  }

  MoveList list;
  if (GenerateWhiteMoves(pos, 0, 0, list) != 0) {
    return UsageError("mate1: the black king is in check with White to move");
  }
  NotationContext notation;
  notation.batchExport = false;
  notation.notationLetters = " RQBSPK   KPSBQR";
  bool disagree = false;
  std::vector<std::string> mates;
  for (const Move* m = list.moves.data(); m->from != 0; ++m) {
    pos.probeMove = *m;
    const bool fast = TestMateMove(pos) == 100;
    const bool brute = MatesByBruteForce(pos, *m);
    if (fast != brute) disagree = true;
    if (fast || brute) mates.push_back(MoveToText(pos.board, *m, 0, notation));
  }
  const int found = FindMateInOne(pos, 0, 0);
  if ((found == 1) != !mates.empty()) disagree = true;
  for (const std::string& text : mates) std::printf("%s\n", text.c_str());
  if (disagree) {
    std::printf("disagree\n");
    return ExitFailure;
  }
  return ExitOk;
}

Registration reg(Spec, &Run);

}  // namespace
}  // namespace kv::cli
