// Judging a position before a solve: piece counts, kings, pawns on the
// promotion ranks, the black king in check, the white king in check when
// Black moves first, and the size of both sides' move lists.
#include "core/validation.h"

#include <array>
#include <string_view>

#include "core/rules.h"
#include "core/tables.h"
#include "strings/message_ids.h"

namespace kv {
namespace {

// The messages, French whatever the interface language.
constexpr std::array<std::string_view, 17> kFindingTexts = {
    "",
    "pas de roi blanc",
    "pas de roi noir",
    "%d rois blancs",
    "%d rois noirs",
    "pions sur cases de promotion",
    "\xE9"
    "chec au roi noir",
    "position trop complexe",
    "%d pi\xE8"
    "ces blanches",
    "%d pi\xE8"
    "ces noires",
    "%d pions blancs",
    "%d pions noirs",
    "pi\xE8"
    "ces de promotion",
    "%d fous blancs sur cases blanches",
    "%d fous noirs sur cases blanches",
    "%d fous blancs sur cases noires",
    "%d fous noirs sur cases noires",
};

// Caption positions among the message parts.
constexpr int kDubiousCaption = 15;
constexpr int kInvalidCaption = 16;

int CountMoves(const MoveList& list) {
  int n = 0;
  while (n < MoveListCapacity && list.moves[n].from != 0) ++n;
  return n;
}

bool NoManOnBoard(const Position& pos) {
  for (int s = FirstSquare; s <= LastSquare; ++s) {
    if (IsSquare(s) && pos.board[s] != Empty) return false;
  }
  return true;
}

}  // namespace

PositionFinding JudgePosition(Position& pos, bool blackMovesFirst, bool series) {
  DerivePositionState(pos);
  PositionFinding finding;
  if (NoManOnBoard(pos)) return {FindingNoWhiteKing, 0};

  // Counts per code over 22..99 (the border cells between are counted as
  // code 8 and never read).
  std::array<int, 16> count{};
  int whiteLight = 0, blackLight = 0, whiteDark = 0, blackDark = 0;
  int whiteMen = 0, blackMen = 0;
  for (int s = FirstSquare; s <= LastSquare; ++s) {
    const int code = pos.board[s];
    if (code < 0 || code > 15) continue;
    ++count[code];
    const bool dark = SquareColour[s] == DarkSquare;
    if (code == WhiteBishop) ++(dark ? whiteDark : whiteLight);
    if (code == BlackBishop) ++(dark ? blackDark : blackLight);
    if (IsWhiteMan(code)) ++whiteMen;
    if (code >= BlackKing && code <= BlackRook) ++blackMen;
  }
  auto fail = [&finding](bool failed, int code, int number) {
    if (failed) finding = {code, number};
  };
  fail(whiteLight > 1, FindingWhiteLightBishops, whiteLight);
  fail(blackLight > 1, FindingBlackLightBishops, blackLight);
  fail(whiteDark > 1, FindingWhiteDarkBishops, whiteDark);
  fail(blackDark > 1, FindingBlackDarkBishops, blackDark);
  fail(count[WhiteQueen] > 1 || count[BlackQueen] > 1 || count[WhiteRook] > 2 ||
           count[BlackRook] > 2 || count[WhiteKnight] > 2 || count[BlackKnight] > 2 ||
           count[WhiteBishop] > 2 || count[BlackBishop] > 2,
       FindingPromotedMen, 0);
  fail(whiteMen > 16, FindingWhiteMen, whiteMen);
  fail(blackMen > 16, FindingBlackMen, blackMen);
  fail(count[WhitePawn] > 8, FindingWhitePawns, count[WhitePawn]);
  fail(count[BlackPawn] > 8, FindingBlackPawns, count[BlackPawn]);
  fail(count[WhiteKing] == 0, FindingNoWhiteKing, 0);
  fail(count[BlackKing] == 0, FindingNoBlackKing, 0);
  fail(count[WhiteKing] > 1, FindingWhiteKings, count[WhiteKing]);
  fail(count[BlackKing] > 1, FindingBlackKings, count[BlackKing]);
  bool pawnOnEdge = false;
  for (int s = 22; s <= 29; ++s) pawnOnEdge |= IsPawnCode(pos.board[s]);
  for (int s = 91; s <= 99; ++s) pawnOnEdge |= IsPawnCode(pos.board[s]);
  fail(pawnOnEdge, FindingPawnsOnPromotionRanks, 0);

  if (count[WhiteKing] == 1 && count[BlackKing] == 1) {
    MoveList list;
    const bool blackKingAttacked = GenerateWhiteMoves(pos, 0, 0, list) == -1;
    // Black's king may stand in check when Black moves first (a helpmate or
    // a series of Black's): its first move answers it.
    fail(blackKingAttacked && !blackMovesFirst, FindingBlackKingInCheck, 0);
    const int whiteMoves = CountMoves(list);
    // Black's list is counted up to where it stopped when the white king
    // stands attacked: the generator closes it there.
    const bool whiteKingCapturable = GenerateBlackMoves(pos, 0, 0, list) == 1;
    const int blackMoves = CountMoves(list);
    fail(blackMovesFirst && whiteKingCapturable, FindingWhiteKingInCheck, 0);
    fail(whiteMoves > MaxValidatedMoves || blackMoves > MaxValidatedMoves, FindingTooComplex, 0);
    // A series is one side's moves in a row: the other side's king must
    // not stand in check (Black's own may, when Black plays the series).
    if (series && (blackMovesFirst ? whiteKingCapturable : blackKingAttacked))
      finding = {FindingSeriesOtherSideInCheck, 0};
  }
  return finding;
}

std::string FindingText(const PositionFinding& finding, const Language* language) {
  if (finding.code == FindingWhiteKingInCheck || finding.code == FindingSeriesOtherSideInCheck) {
    const Language english;
    return LoadMessage(language != nullptr ? *language : english,
                       finding.code == FindingWhiteKingInCheck ? msg::WhiteKingInCheck
                                                               : msg::SeriesOtherSideInCheck);
  }
  if (finding.code <= FindingNone || finding.code >= static_cast<int>(kFindingTexts.size())) {
    return {};
  }
  const std::string_view pattern = kFindingTexts[finding.code];
  if (finding.number == 0) return std::string(pattern);
  const auto at = pattern.find("%d");
  if (at == std::string_view::npos) return std::string(pattern);
  return std::string(pattern.substr(0, at)) + std::to_string(finding.number) +
         std::string(pattern.substr(at + 2));
}

int ValidatePosition(Position& pos, const ValidationContext& context) {
  if (NoManOnBoard(pos)) {
    DerivePositionState(pos);
    return FindingNoWhiteKing;
  }
  const PositionFinding finding = JudgePosition(pos, context.blackMovesFirst, context.series);
  if (finding.code == FindingNone) return 0;
  const bool invalid = IsInvalidFinding(finding.code);
  if (context.messageDisplay && context.ui != nullptr) {
    const Language english;
    const Language& language = context.language ? *context.language : english;
    const std::string caption = MessagePart(language, invalid ? kInvalidCaption : kDubiousCaption);
    context.ui->Message(FindingText(finding, &language), caption,
                        MbOk | (invalid ? MbIconStop : MbIconExclamation));
  }
  if (!invalid) return 0;
  if (finding.code == FindingBlackKingInCheck && context.tryRefutations == 0 &&
      context.actualPlay == 0) {
    return 0;  // only set play is wanted, and there Black moves first
  }
  return finding.code;
}

}  // namespace kv
