// The text of one move: long or short algebraic, the capture signs, the
// piece letters of the interface language or the figurine codes, castling,
// en passant, promotion, the check mark, the "ad lib" form and the
// continuation form the solution writer uses for further moves of one man.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "core/position.h"
#include "strings/language.h"

namespace kv {

// MoveToText flags.
inline constexpr int NotationContinuation = 1;  // destination only (after "/")
inline constexpr int NotationPlainLetters = 2;  // message 42 even with figurines on

// Move texts are cut at this many characters.
inline constexpr std::size_t MaxMoveTextLength = 17;

// Everything a move text depends on besides the move and the board.
struct NotationContext {
  bool shortNotation = false;  // SolveOptions::shortNotation
  int captureSign = 0;         // 0 "x", 1 ":", 2 "*"
  // French interface: short-notation files (a pawn's from file, the
  // disambiguation file, the destination file) read "  abçdéfgh".
  bool french = false;
  // A batch export over the problem list: every piece letter is English.
  bool batchExport = false;
  // A twin that mirrors the board top to bottom is being solved: the
  // destination's rank digit d is written as 9 - d.
  bool rankMirror = false;
  // Message 42 of the language, or the figurine codes while figurine
  // notation is on; and message 42 untouched by figurines.
  std::string_view notationLetters = " RQBSPK   KPSBQR";
  std::string_view plainLetters = " RQBSPK   KPSBQR";
  // The changed and transferred mates' mark table while the solver marks
  // them: a reply is matched against the first record of each pair, a mate
  // against the second. Empty when no marks are shown.
  std::span<const SolutionPair> marks;
};

// The letters and the French flag of an interface language.
NotationContext NotationContextFor(const Language& language, bool figurines);

// The text of a solution record (a move and its mark: '2' the move checks,
// '3' any move of that man). `board` is the position in which the move is
// played (for the disambiguation of rooks and knights). Captured bytes of
// 100 and more are the solution writer's mark for a capture sign in
// parentheses.
std::string MoveToText(const Board& board, const SolutionRecord& record, int flags,
                       const NotationContext& context);
std::string MoveToText(const Board& board, const Move& move, int flags,
                       const NotationContext& context);

// The character that tells a rook or knight move from a rival's of the same
// code able to reach the same square: from's rank digit when the rival
// stands on from's file, else from's file letter; 0 without a rival and for
// every other man. Only the first rival in the scan order counts.
char DisambiguationChar(const Board& board, const Move& move, bool french);

}  // namespace kv
