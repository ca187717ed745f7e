#include "solver/twins.h"

#include <array>
#include <cctype>

#include "solver/board_operations.h"
#include "strings/message_ids.h"

namespace kv {
namespace {

constexpr int EntryBytes = 4;
constexpr int ByteOffset = 0x20;
constexpr int CombinedBit = 0x20;
constexpr int KindMask = 0x1F;

int ValueAt(std::string_view field, std::size_t pos) {
  return (static_cast<unsigned char>(field[pos]) - ByteOffset) & 0xFF;
}

bool OnBoard(int square) {
  return square >= 0 && square < 64;
}

SquareIndex ToSquareIndex(int square) {
  return SquareAt(square % 8, square / 8);
}

std::string SquareText(int square) {
  if (!OnBoard(square)) return "??";
  return {static_cast<char>('a' + square % 8), static_cast<char>('8' - square / 8)};
}

// The colour letters: the first letters of "White:" and "Black:" of the
// language, in lower case.
char ColourLetter(const Language& language, bool black) {
  const std::string word = LoadMessage(language, black ? msg::Black : msg::White);
  if (!word.empty()) return static_cast<char>(std::tolower(static_cast<unsigned char>(word[0])));
  if (language.base == LanguageEnglish) return black ? 'b' : 'w';
  return black ? 'n' : 'b';
}

// A man as the twin texts show it: its upper-case letter and its colour
// letter; "??" for an empty square.
std::string ManText(int code, const Language& language) {
  if (code <= 0 || code > 15 || code == 7 || code == 8 || code == 9) return "??";
  const std::string_view letters = PlainLetters(language);
  char letter = code < static_cast<int>(letters.size()) ? letters[code] : '?';
  letter = static_cast<char>(std::toupper(static_cast<unsigned char>(letter)));
  return {letter, ColourLetter(language, code > 8)};
}

std::string ManOn(const Board& board, int square, const Language& language) {
  if (!OnBoard(square)) return "??";
  return ManText(board[ToSquareIndex(square)], language);
}

void Rotate(Board& board, int quarters) {
  Board unused{};
  for (int i = 0; i < quarters; ++i) BoardOperation(board, unused, OpRotate90);
}

}  // namespace

int TwinCount(std::string_view field) {
  if (field.empty() || field[0] == 0) return 0;
  std::size_t end = field.find('\0');
  if (end == std::string_view::npos) end = field.size();
  const int count = static_cast<int>((end - 1) / EntryBytes);
  return count > MaxTwinEntries ? MaxTwinEntries : count;
}

bool TwinsSuccessive(std::string_view field) {
  return !field.empty() && field[0] == TwinModeSuccessive;
}

TwinEntry TwinEntryAt(std::string_view field, int index) {
  TwinEntry entry;
  if (index < 0 || index >= TwinCount(field)) return entry;
  const std::size_t pos = 1 + static_cast<std::size_t>(index) * EntryBytes;
  const int head = ValueAt(field, pos);
  entry.kind = head & KindMask;
  entry.combined = (head & CombinedBit) != 0;
  entry.square1 = ValueAt(field, pos + 1);
  entry.square2 = ValueAt(field, pos + 2);
  entry.man = ValueAt(field, pos + 3);
  return entry;
}

std::string EncodeTwinEntry(const TwinEntry& entry) {
  const int head = (entry.kind & KindMask) | (entry.combined ? CombinedBit : 0);
  std::string bytes;
  for (int value : {head, entry.square1, entry.square2, entry.man})
    bytes += static_cast<char>((value + ByteOffset) & 0xFF);
  return bytes;
}

std::string BuildTwinsField(bool successive, const TwinEntry* entries, int count) {
  if (count <= 0) return {};
  if (count > MaxTwinEntries) count = MaxTwinEntries;
  std::string field(1, successive ? TwinModeSuccessive : TwinModeUsual);
  for (int i = 0; i < count; ++i) field += EncodeTwinEntry(entries[i]);
  return field;
}

ProblemType TwinProblemType(const TwinEntry& entry) {
  ProblemType type;
  type.kind = static_cast<std::uint8_t>(entry.square1 & 0x07);
  type.flags = static_cast<std::uint8_t>(
      entry.square1 & (FlagSeries | FlagStalemate | FlagMaximum | FlagWhiteBegins));
  type.moves = static_cast<std::uint8_t>(entry.square2);
  return type;
}

TwinDescription DescribeTwin(std::string_view field, int index, const Board& board,
                             const Language& language) {
  TwinDescription result;
  if (index < 0 || index >= TwinCount(field)) return result;
  const TwinEntry e = TwinEntryAt(field, index);
  std::string& t = result.text;
  if (TwinsSuccessive(field) && e.kind >= 1) {
    t = language.base == LanguageFrench ? "puis " : "then ";
    result.prefixLength = 5;
  }
  const std::string s1 = SquareText(e.square1);
  const std::string s2 = SquareText(e.square2);
  switch (e.kind) {
    case TwinDiagram:
      t += "Diagram";
      break;
    case TwinMove:
      t += ManOn(board, e.square1, language) + s1 + "->" + s2;
      break;
    case TwinRemove:
      t += "-" + ManOn(board, e.square1, language) + s1;
      break;
    // The man added is the entry's own; the square it goes to is usually empty.
    case TwinAdd:
      t += "+" + ManText(e.man, language) + s1;
      break;
    case TwinRemoveAdd:
      if (e.square1 == e.square2) {
        t += ManText(e.man, language) + s2;
      } else {
        t += "-" + ManOn(board, e.square1, language) + s1 + " +" + ManText(e.man, language) + s2;
      }
      break;
    case TwinExchange:
      t += ManOn(board, e.square1, language) + s1 + "<->" + ManOn(board, e.square2, language) + s2;
      break;
    case TwinRotate90:
      t += "Rotation 90\xB0";
      break;
    case TwinRotate180:
      t += "Rotation 180\xB0";
      break;
    case TwinRotate270:
      t += "Rotation 270\xB0";
      break;
    case TwinTranslate:
      t += "Translation " + s1 + "-" + s2;
      break;
    case TwinTranslateToroidal:
      t += "Transl. torique " + s1 + "-" + s2;
      break;
    case TwinMirrorVertical:
      t += "Miroir vertical";
      break;
    case TwinMirrorHorizontal:
      t += "Miroir horizontal";
      break;
    case TwinChangeType:
      t += FormatProblemType(TwinProblemType(e));
      break;
    case TwinAfterKey:
      t += "Apr\xE8s la cl\xE9";
      break;
    case TwinReverseColours:
      t += "Inverser couleurs";
      break;
    case TwinDuplex:
      t += "Duplex";
      break;
    default:
      t += "?";
      break;
  }
  if (e.combined) t += " et ";
  return result;
}

void PlayOnBoard(Board& board, const Move& move) {
  if (move.from == 0) return;
  board[move.from] = Empty;
  board[move.capture] = Empty;
  board[move.to] = move.placed;
  // Castling is the king's two-square move; the rook follows.
  const int step = move.to - move.from;
  if ((move.placed == WhiteKing || move.placed == BlackKing) && (step == 2 || step == -2)) {
    const int rookFrom = step == 2 ? move.from + 3 : move.from - 4;
    const int rookTo = move.from + step / 2;
    board[rookTo] = board[rookFrom];
    board[rookFrom] = Empty;
  }
}

int ApplyTwin(const TwinEntry& e, Board& board, ProblemType& type, ProblemType& savedType,
              const Move& twinKey) {
  Board unused{};
  const bool squaresValid = OnBoard(e.square1) && OnBoard(e.square2);
  switch (e.kind) {
    case TwinMove:
      if (!squaresValid) break;
      board[ToSquareIndex(e.square2)] = board[ToSquareIndex(e.square1)];
      board[ToSquareIndex(e.square1)] = Empty;
      break;
    case TwinRemove:
      if (OnBoard(e.square1)) board[ToSquareIndex(e.square1)] = Empty;
      break;
    case TwinAdd:
      if (OnBoard(e.square1) && e.man >= 1 && e.man <= 15 && e.man != 7 && e.man != 8 && e.man != 9)
        board[ToSquareIndex(e.square1)] = static_cast<std::int8_t>(e.man);
      break;
    case TwinRemoveAdd:
      if (!squaresValid || e.man < 1 || e.man > 15 || (e.man >= 7 && e.man <= 9)) break;
      board[ToSquareIndex(e.square1)] = Empty;
      board[ToSquareIndex(e.square2)] = static_cast<std::int8_t>(e.man);
      break;
    case TwinExchange:
      if (!squaresValid) break;
      std::swap(board[ToSquareIndex(e.square1)], board[ToSquareIndex(e.square2)]);
      break;
    case TwinRotate90:
      Rotate(board, 1);
      break;
    case TwinRotate180:
      Rotate(board, 2);
      break;
    case TwinRotate270:
      Rotate(board, 3);
      break;
    case TwinTranslate:
    case TwinTranslateToroidal: {
      if (!squaresValid) break;
      const int files = e.square2 % 8 - e.square1 % 8;
      const int ranksUp = e.square1 / 8 - e.square2 / 8;
      int op = -1;
      if (files == 0 && ranksUp == 1) op = OpShiftUp;
      if (files == -1 && ranksUp == 0) op = OpShiftLeft;
      if (files == 1 && ranksUp == 0) op = OpShiftRight;
      if (files == 0 && ranksUp == -1) op = OpShiftDown;
      if (op < 0) break;  // only one-step vectors move the board
      BoardOperation(board, unused, e.kind == TwinTranslateToroidal ? op + OpToroidal : op);
      break;
    }
    case TwinMirrorVertical:
      BoardOperation(board, unused, OpMirrorRanks);
      break;
    case TwinMirrorHorizontal:
      BoardOperation(board, unused, OpMirrorFiles);
      break;
    case TwinChangeType: {
      savedType = type;
      const ProblemType twin = TwinProblemType(e);
      type.kind = twin.kind;
      type.flags = twin.flags;
      type.moves = twin.moves;
      return twin.moves;
    }
    case TwinAfterKey:
      PlayOnBoard(board, twinKey);
      break;
    case TwinReverseColours:
      BoardOperation(board, unused, OpSwapColours);
      break;
    case TwinDuplex:
      BoardOperation(board, unused, OpSwapColours);
      BoardOperation(board, unused, OpMirrorRanks);
      break;
    default:
      break;
  }
  return 0;
}

}  // namespace kv
