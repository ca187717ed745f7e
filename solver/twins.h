// Twins: the stored twins field, the text of one entry and its effect on the
// board and the stipulation.
//
// The field is text (at most 128 bytes, no NUL inside): byte 0 is the mode,
// 0x7F usual (each twin from the diagram) or 0x7E '~' successive (each twin
// from the previous one), then up to 31 entries of four bytes, each byte
// stored as its value + 0x20 so that the field stays printable:
//   0  bits 0-4 the twin kind, bit 5 combined with the next entry
//   1  square 1 (0 = a8 .. 63 = h1), or for a stipulation change the kind
//      in bits 0-2 plus 8 series, 16 stalemate, 32 maximum, 64 White begins
//   2  square 2, or for a stipulation change the number of moves
//   3  the man added (a PieceCode)
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/position.h"
#include "solver/problem_type.h"
#include "strings/language.h"

namespace kv {

inline constexpr int TwinsFieldSize = 128;
inline constexpr int MaxTwinEntries = 31;
// The most moves a stipulation change holds: its byte is the value + 0x20.
inline constexpr int MaxTwinStipulationMoves = 0xFF - 0x20;
inline constexpr char TwinModeUsual = 0x7F;
inline constexpr char TwinModeSuccessive = 0x7E;

enum TwinKind : int {
  TwinDiagram = 0,
  TwinMove = 1,
  TwinRemove = 2,
  TwinAdd = 3,
  TwinRemoveAdd = 4,
  TwinExchange = 5,
  TwinRotate90 = 6,
  TwinRotate180 = 7,
  TwinRotate270 = 8,
  TwinTranslate = 9,
  TwinTranslateToroidal = 10,
  TwinMirrorVertical = 11,
  TwinMirrorHorizontal = 12,
  TwinChangeType = 13,
  TwinAfterKey = 14,
  TwinReverseColours = 15,
  TwinDuplex = 16,
};

// One entry with the 0x20 offsets removed.
struct TwinEntry {
  int kind = TwinDiagram;
  bool combined = false;
  int square1 = 0;  // 0..63, or the type byte of a stipulation change
  int square2 = 0;  // 0..63, or the number of moves
  int man = 0;      // PieceCode
};

// Number of entries of a stored field (0 for no twins); never more than 31.
int TwinCount(std::string_view field);
bool TwinsSuccessive(std::string_view field);
TwinEntry TwinEntryAt(std::string_view field, int index);
// The four stored bytes of an entry.
std::string EncodeTwinEntry(const TwinEntry& entry);
// A field of the given mode and entries (at most 31 are kept).
std::string BuildTwinsField(bool successive, const TwinEntry* entries, int count);

// The type a stipulation-change entry sets.
ProblemType TwinProblemType(const TwinEntry& entry);

// The text of entry `index` as the information pane and the solution show
// it; prefixLength is 5 when "then " (or "puis ") leads it, else 0. Men on
// squares are read from `board` (the position the entry applies to).
struct TwinDescription {
  std::string text;  // Windows-1252
  int prefixLength = 0;
};
TwinDescription DescribeTwin(std::string_view field, int index, const Board& board,
                             const Language& language);

// Applies one entry to the board and the stipulation. A stipulation change
// copies `type` into `savedType`, installs the entry's kind, flags and moves
// and returns the number of moves; every other entry returns 0. "After the
// key" plays `twinKey` (nothing when it is empty). A square number outside
// the board makes the entry change nothing.
int ApplyTwin(const TwinEntry& entry, Board& board, ProblemType& type, ProblemType& savedType,
              const Move& twinKey);

// Plays a move on the bare board (cells only; castling moves the rook too).
void PlayOnBoard(Board& board, const Move& move);

}  // namespace kv
