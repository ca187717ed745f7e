// The status texts of the top search level.
#include <string>

#include "core/notation.h"
#include "core/rules.h"
#include "solver/search_internal.h"

namespace kv::search_detail {

namespace {

// The move in plain letters with the notation options of the solve, read in
// the position before the move.
std::string StatusMoveText(SearchContext& ctx, const Move& move) {
  NotationContext notation = NotationContextFor(ctx.language, false);
  notation.shortNotation = ctx.options[Option::ShortNotation] != 0;
  notation.captureSign = ctx.options[Option::CaptureSign];
  return MoveToText(ctx.pos.board, move, NotationPlainLetters, notation);
}

}  // namespace

void ShowMoveStatus(SearchContext& ctx, int part, const char* prefix, const Move& move) {
  if (!ctx.ui.statusText) return;
  ctx.ui.Status(part, prefix + StatusMoveText(ctx, move));
}

void ShowWordMoveStatus(SearchContext& ctx, int part, int word, const Move& move) {
  if (!ctx.ui.statusText) return;
  ctx.ui.Status(part, " " + MessagePart(ctx.language, word) + " " + StatusMoveText(ctx, move));
}

void ShowPlayedMoveStatus(SearchContext& ctx, int part, int word, const Move& move) {
  if (!ctx.ui.statusText) return;
  UnmakeMove(ctx.pos, move);
  const std::string text = StatusMoveText(ctx, move);
  MakeMove(ctx.pos, move);
  ctx.ui.Status(part, " " + MessagePart(ctx.language, word) + " " + text);
}

}  // namespace kv::search_detail
