// The two tests that take the place of White's mate in selfmates and
// reflexmates: is White mated, and must Black mate after White's move.
#include "core/rules.h"
#include "core/tables.h"
#include "solver/search.h"
#include "solver/search_internal.h"

namespace kv {

using namespace search_detail;

int WhiteIsMated(SearchContext& ctx, MoveList* list) {
  Position& pos = ctx.pos;
  if (!AttackedByBlack(pos, pos.whiteKingSquare)) return 0;
  for (int i = 0; list->moves[i].from != 0; ++i) {
    const Move& move = list->moves[i];
    MakeMove(pos, move);
    const bool stillAttacked = AttackedByBlack(pos, pos.whiteKingSquare) != 0;
    UnmakeMove(pos, move);
    if (!stillAttacked) return 0;
  }
  return 1;
}

int BlackMustMate(SearchContext& ctx, int lastFrom, int lastTo, MoveList* list) {
  Position& pos = ctx.pos;
  SearchState& state = ctx.state;
  MoveRecords& mates = state.KeyList(1);
  if (GenerateBlackMoves(pos, lastFrom, lastTo, *list) == 1) return -1;
  const bool reflex = state.selfMode == ReflexMate;
  int count = 0;
  int legal = 0;
  bool everyReplyMates = true;
  for (int i = 0; list->moves[i].from != 0; ++i) {
    const Move& reply = list->moves[i];
    MakeMove(pos, reply);
    // The reply is legal when it leaves its king unattacked; only a reply
    // that checks can mate, so White's moves are generated for those alone.
    const bool isLegal =
        !IsSquare(pos.blackKingSquare) || AttackedByWhite(pos, pos.blackKingSquare) == 0;
    bool whiteMated = false;
    if (isLegal && AttackedByBlack(pos, pos.whiteKingSquare) != 0) {
      GenerateWhiteMoves(pos, reply.from, reply.to, list[1]);
      whiteMated = WhiteIsMated(ctx, &list[1]) == 1;
    }
    UnmakeMove(pos, reply);
    if (!isLegal) continue;
    ++legal;
    if (whiteMated) {
      Append(mates, count, reply);
      if (reflex) break;
    } else if (!reflex) {
      everyReplyMates = false;
      break;
    }
  }
  Close(mates, count);
  if (reflex) return count > 0 ? 1 : 0;
  return legal > 0 && everyReplyMates ? 1 : 0;
}

}  // namespace kv
