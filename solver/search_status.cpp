// The status texts of the top search level.
#include <string>

#include "solver/search_internal.h"

namespace kv::search_detail {

namespace {

// Long notation in plain letters, enough for the status bar.
std::string StatusMoveText(const Move& move) {
  static constexpr char kLetters[] = " RQBSPK   KPSBQR";
  std::string text;
  const int man = move.moved;
  if (man != WhitePawn && man != BlackPawn && man >= 0 && man < 16) text += kLetters[man];
  text += static_cast<char>('a' + move.from % 10 - 2);
  text += static_cast<char>('0' + 10 - move.from / 10);
  text += move.captured != 0 ? 'x' : '-';
  text += static_cast<char>('a' + move.to % 10 - 2);
  text += static_cast<char>('0' + 10 - move.to / 10);
  if (move.placed != move.moved && move.placed >= 0 && move.placed < 16) {
    text += '=';
    text += kLetters[move.placed];
  }
  return text;
}

}  // namespace

void ShowMoveStatus(SearchContext& ctx, int part, const char* prefix, const Move& move) {
  if (!ctx.ui.statusText) return;
  ctx.ui.Status(part, prefix + StatusMoveText(move));
}

void ShowWordMoveStatus(SearchContext& ctx, int part, int word, const Move& move) {
  if (!ctx.ui.statusText) return;
  ctx.ui.Status(part, " " + MessagePart(ctx.language, word) + " " + StatusMoveText(move));
}

}  // namespace kv::search_detail
