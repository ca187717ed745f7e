#include "collections/import_dbf.h"
#include "strings/message_ids.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace kv {
namespace {

// The award names of the string table.

constexpr char DegreeSign = '\xB0';  // Windows-1252

// The men whose squares the table gives, in field order.
constexpr std::array<PieceCode, DbfMen / 2> WhiteMenOrder = {
    WhiteKing, WhiteQueen, WhiteRook, WhiteRook, WhiteKnight, WhiteKnight, WhiteBishop, WhiteBishop,
    WhitePawn, WhitePawn,  WhitePawn, WhitePawn, WhitePawn,   WhitePawn,   WhitePawn,   WhitePawn};

// Upper and lower case of Windows-1252 letters: ASCII, the accented
// letters 0xC0..0xDE (but 0xD7, the multiplication sign) against
// 0xE0..0xFE, and the four pairs of the 0x80 row.
char LowerCase(char c) {
  const unsigned char u = static_cast<unsigned char>(c);
  if ((u >= 'A' && u <= 'Z') || (u >= 0xC0 && u <= 0xDE && u != 0xD7))
    return static_cast<char>(u + 0x20);
  if (u == 0x8A || u == 0x8C || u == 0x8E) return static_cast<char>(u + 0x10);
  if (u == 0x9F) return static_cast<char>(0xFF);
  return c;
}

char UpperCase(char c) {
  const unsigned char u = static_cast<unsigned char>(c);
  if ((u >= 'a' && u <= 'z') || (u >= 0xE0 && u <= 0xFE && u != 0xF7))
    return static_cast<char>(u - 0x20);
  if (u == 0x9A || u == 0x9C || u == 0x9E) return static_cast<char>(u - 0x10);
  if (u == 0xFF) return static_cast<char>(0x9F);
  return c;
}

// A text field as far as it goes: up to a NUL or two consecutive spaces,
// without the blanks that pad it.
std::string_view FieldText(std::string_view field) {
  field = field.substr(0, field.find('\0'));
  field = field.substr(0, field.find("  "));
  while (!field.empty() && field.back() == ' ') field.remove_suffix(1);
  while (!field.empty() && field.front() == ' ') field.remove_prefix(1);
  return field;
}

// Lower case, with the letter after each space upper-cased; `capitalFirst`
// treats the start as if a space came before it.
std::string TitleCase(std::string_view text, bool capitalFirst) {
  std::string out;
  bool afterSpace = capitalFirst;
  for (char c : text) {
    out += afterSpace ? UpperCase(c) : LowerCase(c);
    afterSpace = c == ' ';
  }
  return out;
}

// A square field: file letter and rank digit; anything else off the board
// reads as a8. A blank first character means the man is absent.
bool SquareOf(std::string_view field, SquareIndex& square) {
  if (field[0] == ' ' || field[0] == '\0') return false;
  const char file = LowerCase(field[0]);
  const char rank = field[1];
  if (file < 'a' || file > 'h' || rank < '1' || rank > '8') {
    square = FirstSquare;
  } else {
    square = FirstSquare + 10 * ('8' - rank) + (file - 'a');
  }
  return true;
}

// One record's data (padded with blanks to its full length) as a problem.
void RecordToProblem(std::string_view data, const Language& language, CurrentProblem& problem,
                     Board& board) {
  ClearWholeProblem(problem);
  board = EmptyImportBoard();
  problem.authors = DbfAuthor(data.substr(DbfAuthorOffset, DbfAuthorWidth));
  problem.source = DbfSource(data.substr(DbfSourceOffset, DbfSourceWidth),
                             data.substr(DbfYearOffset, DbfYearWidth));
  problem.award = DbfAward(data.substr(DbfOrdinalOffset, DbfOrdinalWidth),
                           data.substr(DbfAwardCodeOffset, 2), language);
  const char moves = data[DbfMovesOffset];
  if (moves >= '0' && moves <= '9') problem.type.moves = static_cast<std::uint8_t>(moves - '0');
  std::string_view comment = data.substr(DbfCommentOffset, DbfCommentWidth);
  comment = comment.substr(0, comment.find('\0'));
  while (!comment.empty() && comment.back() == ' ') comment.remove_suffix(1);
  problem.comment = comment;
  for (int man = 0; man < DbfMen; ++man) {
    SquareIndex square = 0;
    if (!SquareOf(data.substr(DbfSquaresOffset + 2 * man, 2), square)) continue;
    const PieceCode white = WhiteMenOrder[man % (DbfMen / 2)];
    board[square] = man < DbfMen / 2 ? white : static_cast<PieceCode>(16 - white);
  }
}

int Get16(const std::uint8_t* bytes) {
  return bytes[0] | bytes[1] << 8;
}

}  // namespace

std::string DbfAuthor(std::string_view field) {
  const std::string_view text = FieldText(field);
  const std::size_t space = text.find(' ');
  if (space == std::string_view::npos) return std::string(text);
  std::string author(text.substr(0, space));
  author += ',';
  author += TitleCase(text.substr(space), false);
  return author;
}

std::string DbfSource(std::string_view name, std::string_view year) {
  std::string source = TitleCase(FieldText(name), true);
  const std::string_view yearText = FieldText(year);
  if (!yearText.empty()) {
    if (!source.empty()) source += ' ';
    source += yearText;
  }
  return source;
}

std::string DbfAward(std::string_view ordinal, std::string_view code, const Language& language) {
  const char first = LowerCase(code[0]);
  const char second = LowerCase(code[1]);
  int message = 0;
  if (first == 'c') {
    message = second == 'c' ? msg::HonourableMention : msg::Prize;
  } else if (first == 'p' && second == 'z') {
    message = msg::Commendation;
  } else if (first == 'u') {
    message = msg::Mention;
  }
  if (message == 0) return {};
  int number = 0;
  std::size_t i = 0;
  while (i < ordinal.size() && ordinal[i] == ' ') ++i;
  for (; i < ordinal.size() && ordinal[i] >= '0' && ordinal[i] <= '9'; ++i) {
    number = number * 10 + (ordinal[i] - '0');
  }
  std::string award;
  if (number != 0) award = std::to_string(number) + DegreeSign + ' ';
  award += LoadMessage(language, message);
  return std::string(FitText(award, MaxAwardLength));
}

FileResult ReadDbfProblems(SourceReader& source, const Language& language, ImportBatch& batch) {
  std::uint8_t header[DbfHeaderBytes];
  if (source.Read(header, sizeof header) < sizeof header) {
    return Fail(FileStatus::CannotOpen, "the dBASE header is cut short");
  }
  const int headerLength = Get16(header + 8);
  const int recordLength = Get16(header + 10);
  if (recordLength == 0) return Fail(FileStatus::CannotOpen, "the dBASE record length is 0");
  // The first record's data follows the header and the record's deletion mark.
  const std::uint64_t dataStart = static_cast<std::uint64_t>(headerLength) + 1;
  if (dataStart < DbfHeaderBytes) {
    char detail[80];
    std::snprintf(detail, sizeof detail, "the dBASE header length %d is too small", headerLength);
    return Fail(FileStatus::CannotOpen, detail);
  }
  source.Skip(dataStart - DbfHeaderBytes);

  // Each read takes a record's data and the next record's deletion mark (or
  // the end-of-file mark). A table whose last record lacks that mark gives a
  // read one byte short, which still holds the whole record.
  const std::size_t dataLength = static_cast<std::size_t>(recordLength) - 1;
  std::vector<char> record(std::max<std::size_t>(recordLength, DbfRecordDataLength), ' ');
  CurrentProblem problem;
  Board board = EmptyImportBoard();
  for (;;) {
    std::fill(record.begin(), record.end(), ' ');
    const std::size_t got = source.Read(record.data(), static_cast<std::size_t>(recordLength));
    if (got == 0 || got < dataLength) break;
    // Fields beyond the record's data read as blanks.
    std::fill(record.begin() + static_cast<std::ptrdiff_t>(dataLength), record.end(), ' ');
    RecordToProblem(std::string_view(record.data(), record.size()), language, problem, board);
    if (!batch.Add(problem, board)) break;
  }
  return {};
}

ImportResult ImportDbf(ImportEnv& env) {
  const Language& language = env.language;
  return RunImport(env, [&language](SourceReader& source, ImportBatch& batch) {
    return ReadDbfProblems(source, language, batch);
  });
}

}  // namespace kv
