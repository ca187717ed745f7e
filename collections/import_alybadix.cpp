#include "collections/import_alybadix.h"

#include <array>
#include <cstdint>

namespace kv {
namespace {

// The men of the six notation letters, pawn to king.
constexpr std::array<PieceCode, 6> LetterMen = {WhitePawn, WhiteKnight, WhiteBishop,
                                                WhiteRook, WhiteQueen,  WhiteKing};
constexpr std::size_t NotationLetterCount = 6;

bool IsBlankByte(char c) {
  return static_cast<unsigned char>(c) < 0x21;
}

char AsciiLower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool IsFileLetter(char c) {
  return c >= 'a' && c <= 'h';
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

bool IsLetter(char c) {
  const unsigned char u = static_cast<unsigned char>(c);
  return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || u >= 0xC0;
}

// True when `line` starts with `keyword` (either case).
bool StartsWith(std::string_view line, std::string_view keyword) {
  if (line.size() < keyword.size()) return false;
  for (std::size_t i = 0; i < keyword.size(); ++i) {
    if (AsciiLower(line[i]) != keyword[i]) return false;
  }
  return true;
}

// A file letter and a rank digit; a rank outside 1..8 reads as a8.
SquareIndex ArchiveSquare(char file, char rank) {
  if (rank < '1' || rank > '8') return FirstSquare;
  return FirstSquare + 10 * ('8' - rank) + (file - 'a');
}

// "white:" or "black:": the current man starts as the king of the colour; a
// square puts the current man there, a blank and a notation letter choose
// the next man, a blank and any other letter end the line. The start of the
// value counts as a blank, so "white: Qd1" puts a queen on d1.
void PlaceMen(std::string_view value, bool white, ArchiveReader& reader) {
  const auto colour = [white](PieceCode man) {
    return white ? man : static_cast<PieceCode>(16 - man);
  };
  PieceCode man = colour(WhiteKing);
  std::string text = " ";
  text += value;
  const std::size_t n = text.size();
  const auto startsSquare = [&](std::size_t i) {
    return i + 1 < n && IsFileLetter(text[i]) && IsDigit(text[i + 1]);
  };
  for (std::size_t i = 0; i < n;) {
    if (startsSquare(i)) {
      reader.board[ArchiveSquare(text[i], text[i + 1])] = man;
      i += 2;
      continue;
    }
    if (text[i] == ' ' && i + 1 < n && !IsBlankByte(text[i + 1]) && !startsSquare(i + 1)) {
      const std::size_t letter = reader.letters.find(text[i + 1]);
      if (letter != std::string::npos && letter < NotationLetterCount) {
        man = colour(LetterMen[letter]);
        i += 2;
        continue;
      }
      if (IsLetter(text[i + 1])) return;
    }
    ++i;
  }
}

// "h3" a helpmate in 3, "s2" a selfmate in 2, "2" a direct mate in 2. A
// character other than a digit where the number belongs leaves the number
// of moves as it was.
void ReadStipulation(std::string_view value, ProblemType& type) {
  std::size_t i = 0;
  type.kind = KindDirect;
  if (!value.empty() && AsciiLower(value[0]) == 'h') {
    type.kind = KindHelp;
    i = 1;
  } else if (!value.empty() && AsciiLower(value[0]) == 's') {
    type.kind = KindSelf;
    i = 1;
  }
  if (i < value.size() && IsDigit(value[i])) {
    type.moves = static_cast<std::uint8_t>(value[i] - '0');
  }
  type.flags = 0;
}

// The first title lines are the comment, the authors, the source and a
// part of the award, in this order; later ones are not kept.
void ReadTitle(std::string_view value, ArchiveReader& reader) {
  CurrentProblem& p = reader.problem;
  switch (++reader.titleLines) {
    case 1:
      p.comment = FitText(value, MaxCommentLength);
      break;
    case 2:
      p.authors = FitText(value, MaxAuthorsLength);
      break;
    case 3:
      p.source = FitText(value, MaxSourceLength);
      break;
    case 4:
      p.award = FitText(p.award + std::string(value), MaxAwardLength);
      break;
    default:
      break;
  }
}

}  // namespace

void StartArchiveProblem(ArchiveReader& reader) {
  ClearWholeProblem(reader.problem);
  reader.board = EmptyImportBoard();
  reader.titleLines = 0;
}

bool ReadArchiveLine(std::string_view line, ArchiveReader& reader) {
  while (!line.empty() && IsBlankByte(line.front())) line.remove_prefix(1);
  const std::size_t colon = line.find(':');
  if (colon == std::string_view::npos) return false;
  std::string_view value = line.substr(colon + 1);
  while (!value.empty() && IsBlankByte(value.front())) value.remove_prefix(1);

  if (StartsWith(line, "notation:")) {
    // Eight positions exist; the last two stand for no man.
    reader.letters = std::string(value.substr(0, NotationLetterCount));
  } else if (StartsWith(line, "title1:")) {
    ReadTitle(value, reader);
  } else if (StartsWith(line, "stipulation:")) {
    ReadStipulation(value, reader.problem.type);
  } else if (StartsWith(line, "white:") || StartsWith(line, "black:")) {
    PlaceMen(value, AsciiLower(line[0]) == 'w', reader);
  } else if (StartsWith(line, "endproblem:")) {
    return true;
  }
  return false;
}

FileResult ReadArchiveProblems(SourceReader& source, ImportBatch& batch) {
  ArchiveReader reader;
  StartArchiveProblem(reader);
  std::string line;
  while (source.ReadLine(ArchiveLineLength, LongLine::Drain, line)) {
    if (!ReadArchiveLine(line, reader)) continue;
    if (!batch.Add(reader.problem, reader.board)) break;
    StartArchiveProblem(reader);
  }
  return {};
}

ImportResult ImportAlybadix(ImportEnv& env) {
  return RunImport(env, ReadArchiveProblems);
}

}  // namespace kv
