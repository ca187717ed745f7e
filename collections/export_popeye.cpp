#include "collections/export_popeye.h"

#include <array>
#include <vector>

#include "collections/import_popeye.h"
#include "solver/twins.h"
#include "strings/encoding.h"

namespace kv {
namespace {

constexpr std::string_view LineEnd = "\r\n";
constexpr std::string_view KindLetters[] = {"", "h", "s", "r"};

// The men in the order the pieces command lists them, with their letters.
struct ManLetter {
  PieceCode white;
  char letter;
};
constexpr std::array<ManLetter, 6> ManOrder = {{{WhiteKing, 'K'},
                                                {WhiteQueen, 'Q'},
                                                {WhiteRook, 'R'},
                                                {WhiteBishop, 'B'},
                                                {WhiteKnight, 'S'},
                                                {WhitePawn, 'P'}}};

PieceCode BlackOf(PieceCode white) {
  return static_cast<PieceCode>(16 - white);
}

std::string SquareText(int n) {
  std::string square;
  square += static_cast<char>('a' + n % 8);
  square += static_cast<char>('8' - n / 8);
  return square;
}

bool IsSquare(int n) {
  return n >= 0 && n < PositionByteCount;
}

// "Qe4" for a man code of either colour; empty for anything else.
std::string ManText(int man) {
  for (const ManLetter& m : ManOrder) {
    if (man == m.white || man == BlackOf(m.white)) return std::string(1, m.letter);
  }
  return {};
}

// A text command's line. Control characters would end the line early, so
// they become blanks. The text is written as its Windows-1252 bytes, unless
// those bytes would read back as UTF-8 (a text such as "Ã©"): then it is
// written as UTF-8, which reads back as the same bytes.
void AppendTextLine(std::string& text, std::string_view command, std::string_view value) {
  if (value.empty()) return;
  std::string line;
  for (char c : value) line += static_cast<unsigned char>(c) < ' ' ? ' ' : c;
  text += command;
  text += ' ';
  text += PopeyeTextIsUtf8(line) ? Cp1252ToUtf8(line) : line;
  text += LineEnd;
}

bool HasBlankAtAnEnd(std::string_view text) {
  return !text.empty() && (static_cast<unsigned char>(text.front()) <= ' ' ||
                           static_cast<unsigned char>(text.back()) <= ' ');
}

// The author lines: one per author when the import joins them back into
// the same text; else (a blank after a ";", an empty author) the whole
// authors text on one line, so that it too comes back as it was.
std::vector<std::string> AuthorLines(std::string_view authors) {
  std::vector<std::string> split = SplitAuthors(authors);
  bool oneByOne = JoinAuthors(split) == authors;
  for (const std::string& author : split) {
    oneByOne = oneByOne && !author.empty() && !HasBlankAtAnEnd(author);
  }
  if (oneByOne) return split;
  return {std::string(FitText(authors, MaxAuthorsLength))};
}

// The men of one side: " white Ke1 Qd1" (empty when it has none).
std::string SideText(const Board& board, bool black) {
  std::string side;
  for (const ManLetter& m : ManOrder) {
    const PieceCode code = black ? BlackOf(m.white) : m.white;
    for (int n = 0; n < PositionByteCount; ++n) {
      if (board[static_cast<std::size_t>(StoredSquare(n))] != code) continue;
      side += ' ';
      side += m.letter;
      side += SquareText(n);
    }
  }
  if (side.empty()) return side;
  return (black ? " black" : " white") + side;
}

bool KnownMenOnly(const Board& board) {
  for (int n = 0; n < PositionByteCount; ++n) {
    const PieceCode code = board[static_cast<std::size_t>(StoredSquare(n))];
    if (code != Empty && ManText(code).empty()) return false;
  }
  return true;
}

// One twin entry as the changes of a twin line; false with the reason when
// the file has no such change.
bool TwinChangeText(const TwinEntry& entry, std::string& change, std::string& reason) {
  const bool squaresValid = IsSquare(entry.square1) && IsSquare(entry.square2);
  const std::string colour = entry.man >= BlackKing ? "black " : "white ";
  switch (entry.kind) {
    case TwinDiagram:
      return true;
    case TwinMove:
    case TwinExchange:
      if (!squaresValid) break;
      change = (entry.kind == TwinMove ? " move " : " exchange ") + SquareText(entry.square1) +
               " " + SquareText(entry.square2);
      return true;
    case TwinRemove:
      if (!IsSquare(entry.square1)) break;
      change = " remove " + SquareText(entry.square1);
      return true;
    case TwinAdd:
      if (!IsSquare(entry.square1) || ManText(entry.man).empty()) break;
      change = " add " + colour + ManText(entry.man) + SquareText(entry.square1);
      return true;
    case TwinRemoveAdd:
      if (!squaresValid || ManText(entry.man).empty()) break;
      change = " remove " + SquareText(entry.square1) + " add " + colour + ManText(entry.man) +
               SquareText(entry.square2);
      return true;
    // The file turns the board to the left; ours turn it to the right.
    case TwinRotate90:
      change = " rotate 270";
      return true;
    case TwinRotate180:
      change = " rotate 180";
      return true;
    case TwinRotate270:
      change = " rotate 90";
      return true;
    case TwinTranslate: {
      if (!squaresValid) break;
      const int files = entry.square2 % 8 - entry.square1 % 8;
      const int ranks = entry.square2 / 8 - entry.square1 / 8;
      if (files * files + ranks * ranks != 1) {
        reason = "a translation that is not by one square";
        return false;
      }
      change = " shift " + SquareText(entry.square1) + " " + SquareText(entry.square2);
      return true;
    }
    case TwinMirrorVertical:
      change = " mirror a1<-->a8";
      return true;
    case TwinMirrorHorizontal:
      change = " mirror a1<-->h1";
      return true;
    case TwinChangeType: {
      const std::string stipulation = PopeyeStipulation(TwinProblemType(entry));
      if (stipulation.empty()) break;
      change = " stipulation " + stipulation;
      return true;
    }
    case TwinReverseColours:
      change = " polishtype";
      return true;
    case TwinTranslateToroidal:
      reason = "a toroidal translation twin";
      return false;
    case TwinAfterKey:
      reason = "an after-the-key twin";
      return false;
    case TwinDuplex:
      reason = "a duplex twin among other twins";
      return false;
    default:
      break;
  }
  reason = "a twin the file cannot express";
  return false;
}

// The twin lines of a stored twins field ("option duplex" for the diagram
// and its duplex alone). `maximum` is the problem's maximum mark: a
// condition of the file holds for every twin, so a twin's stipulation must
// carry the same mark.
bool TwinsText(std::string_view field, bool maximum, std::string& text, std::string& reason) {
  const int count = TwinCount(field);
  if (count == 0) return true;
  std::vector<TwinEntry> entries;
  entries.reserve(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) entries.push_back(TwinEntryAt(field, i));
  for (const TwinEntry& entry : entries) {
    if (entry.kind == TwinChangeType && ((entry.square1 & FlagMaximum) != 0) != maximum) {
      reason = "a twin that changes the maximum condition";
      return false;
    }
  }
  const bool successive = TwinsSuccessive(field);
  if (count == 2 && !successive && entries[0].kind == TwinDiagram && !entries[0].combined &&
      entries[1].kind == TwinDuplex) {
    text += "option duplex";
    text += LineEnd;
    return true;
  }
  // Entry a) is normally the diagram; when it is not, the diagram is not
  // solved and the first twin is the zero position.
  std::size_t i = 0;
  bool zero = true;
  if (entries[0].kind == TwinDiagram && !entries[0].combined) {
    i = 1;
    zero = false;
  }
  // Successive twins build each on the one before; the first twin after the
  // diagram builds on the diagram anyway and is written as a plain twin (a
  // solver marks a "continued" twin in its headings). A lone successive
  // twin therefore comes back as a usual one: the same positions.
  bool first = true;
  while (i < entries.size()) {
    std::string line = zero ? "zeroposition" : successive && !first ? "twin continued" : "twin";
    zero = false;
    first = false;
    // A combined entry goes on the same line as the entries after it.
    while (true) {
      std::string change;
      if (!TwinChangeText(entries[i], change, reason)) return false;
      line += change;
      if (!entries[i++].combined || i >= entries.size()) break;
    }
    text += line;
    text += LineEnd;
  }
  return true;
}

// A solver's fast helpmate mode works back from the possible mates and finds
// the same solutions much sooner: it is asked for when the diagram and every
// twin are help play without the maximummer, which that mode does not take.
bool AllHelpPlay(const ProblemType& type, std::string_view field) {
  if (type.kind != KindHelp || (type.flags & FlagMaximum) != 0) return false;
  for (int i = 0; i < TwinCount(field); ++i) {
    const TwinEntry entry = TwinEntryAt(field, i);
    if (entry.kind == TwinChangeType && TwinProblemType(entry).kind != KindHelp) return false;
  }
  return true;
}

}  // namespace

std::string PopeyeStipulation(const ProblemType& type) {
  if (type.moves == 0 || type.kind > KindReflex) return {};
  const bool series = (type.flags & FlagSeries) != 0;
  const bool whiteBegins = (type.flags & FlagWhiteBegins) != 0;
  if (whiteBegins && (type.kind != KindHelp || series)) return {};
  std::string text = series ? "ser-" : "";
  text += KindLetters[type.kind];
  text += (type.flags & FlagStalemate) != 0 ? '=' : '#';
  // A helpmate in n with White beginning is White's half move and n - 1
  // moves of both sides.
  text += whiteBegins ? std::to_string(type.moves - 1) + ".5" : std::to_string(type.moves);
  return text;
}

bool PopeyeProblemText(const CurrentProblem& problem, const Board& board, std::string& text,
                       std::string& reason) {
  const std::string stipulation = PopeyeStipulation(problem.type);
  if (stipulation.empty()) {
    reason = problem.type.moves == 0 ? "a study" : "a stipulation the file cannot express";
    return false;
  }
  if (!KnownMenOnly(board)) {
    reason = "a square holding no man of the game";
    return false;
  }
  const std::string white = SideText(board, false);
  const std::string black = SideText(board, true);
  if (white.empty() && black.empty()) {
    reason = "no men on the board";
    return false;
  }
  std::string twins;
  if (!TwinsText(problem.twins, (problem.type.flags & FlagMaximum) != 0, twins, reason)) {
    return false;
  }

  std::string out;
  for (const std::string& author : AuthorLines(problem.authors)) {
    AppendTextLine(out, "author", author);
  }
  AppendTextLine(out, "origin", problem.source);
  AppendTextLine(out, "award", problem.award);
  AppendTextLine(out, "title", problem.comment);
  for (std::size_t slot = 0; slot < ExtraStringTags.size(); ++slot) {
    const std::string& extra = problem.extraStrings[slot];
    if (!extra.empty())
      AppendTextLine(out, "remark", std::string(ExtraStringTags[slot]) + " " + extra);
  }
  if ((problem.type.flags & FlagMaximum) != 0) {
    out += "condition blackmaximummer";
    out += LineEnd;
  }
  out += "stipulation " + stipulation;
  out += LineEnd;
  if (AllHelpPlay(problem.type, problem.twins)) {
    out += "option intelligent";
    out += LineEnd;
  }
  out += "pieces" + white;
  if (!white.empty() && !black.empty()) {
    out += LineEnd;
    out += "      ";
  }
  out += black;
  out += LineEnd;
  out += twins;
  text = std::move(out);
  return true;
}

}  // namespace kv
