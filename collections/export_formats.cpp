#include "collections/export_formats.h"

#include <cstdio>

#include "collections/forsyth.h"
#include "solver/problem_type.h"
#include "strings/message_ids.h"

namespace kv {
namespace {

constexpr std::string_view LineEnd = "\r\n";
constexpr int WordSolution = 6;  // "Solution:" among the message parts
constexpr std::string_view VersionLabel = "(V) ";

// The order in which the report lists each side's men.
constexpr PieceCode ReportOrder[] = {WhiteKing,   WhiteQueen,  WhiteRook,
                                     WhiteBishop, WhiteKnight, WhitePawn};

bool IsWhiteMan(PieceCode code) {
  return code >= WhiteRook && code <= WhiteKing;
}
bool IsBlackMan(PieceCode code) {
  return code >= BlackKing && code <= BlackRook;
}
// A black man's code mirrors the white one: 16 - code.
PieceCode BlackOf(PieceCode white) {
  return static_cast<PieceCode>(BlackRook + WhiteRook - white);
}

// A message label as the pane shows it: without its first character ("&"),
// a final ":" turned into a blank.
std::string PaneLabel(const Language& language, int message) {
  std::string label = LoadMessage(language, message);
  if (!label.empty()) label.erase(0, 1);
  if (!label.empty() && label.back() == ':') label.back() = ' ';
  return label;
}

void AppendLine(std::string& text, std::string_view line) {
  if (line.empty()) return;
  text += line;
  text += LineEnd;
}

// "B : " or "N : " followed by every man of one side, kind by kind, each as
// letter, file, rank, comma and blank.
std::string MenLine(const Board& board, bool white, std::string_view letters) {
  std::string line = white ? "B : " : "N : ";
  for (PieceCode kind : ReportOrder) {
    const PieceCode code = white ? kind : BlackOf(kind);
    for (int n = 0; n < PositionByteCount; ++n) {
      if (board[StoredSquare(n)] != code) continue;
      line += static_cast<std::size_t>(kind) < letters.size() ? letters[kind] : '?';
      line += static_cast<char>('a' + n % 8);
      line += static_cast<char>('8' - n / 8);
      line += ", ";
    }
  }
  return line;
}

std::string Format(const char* pattern, int a, int b) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, pattern, a, b);
  return buffer;
}

// The move after `prefix` up to its "!", when the "!" ends it on the same line.
bool MoveAfter(std::string_view text, std::size_t at, std::string& move) {
  const std::size_t bang = text.find('!', at);
  if (bang == std::string_view::npos) return false;
  const std::size_t lineEnd = text.find(LineEnd, at);
  if (lineEnd != std::string_view::npos && lineEnd < bang) return false;
  move = std::string(text.substr(at, bang - at));
  return true;
}

}  // namespace

std::string InformationPaneText(const CurrentProblem& problem, const Language& language) {
  std::string text;
  AppendLine(text, AuthorsDisplayText(problem.authors));
  AppendLine(text, problem.source);
  AppendLine(text, problem.award);
  AppendLine(text, problem.comment);
  for (int i = 0; i < ExtraStringCount; ++i) {
    const std::string& extra = problem.extraStrings[i];
    if (extra.empty()) continue;
    text += i <= ExtraSecondSource ? PaneLabel(language, msg::DedicatedTo + i)
                                   : std::string(VersionLabel);
    text += extra;
    text += LineEnd;
  }
  // Two blanks in any text force a line break.
  std::string broken;
  broken.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == ' ' && i + 1 < text.size() && text[i + 1] == ' ') {
      broken += LineEnd;
      ++i;
    } else {
      broken += text[i];
    }
  }
  return broken;
}

std::string MenCountText(const Board& board) {
  int white = 0, black = 0;
  for (int n = 0; n < PositionByteCount; ++n) {
    const PieceCode code = board[StoredSquare(n)];
    white += IsWhiteMan(code);
    black += IsBlackMan(code);
  }
  return Format("(%d+%d)", white, black);
}

std::string TextReport(const ExportedProblem& exported, const Language& language, int borderStyle) {
  std::string text(LineEnd);
  text += exported.fileName;
  text += Format(" - position n\xB0 %d / %d", exported.index + 1, exported.lastIndex + 1);
  text += LineEnd;
  text += LineEnd;

  const std::string diagram = BoardToDiagramText(exported.board, borderStyle);
  for (int row = 0; row < DiagramSide; ++row) {
    text += diagram.substr(static_cast<std::size_t>(row) * DiagramSide, DiagramSide);
    text += LineEnd;
  }

  const std::string_view letters = PlainLetters(language);
  text += LineEnd;
  text += MenLine(exported.board, true, letters);
  text += LineEnd;
  text += MenLine(exported.board, false, letters);

  text += LineEnd;
  text += LineEnd;
  text += MenCountText(exported.board);
  text += '\t';
  text += FormatProblemType(exported.problem.type);
  text += LineEnd;

  text += FitText(InformationPaneText(exported.problem, language), MaxInformationTextLength);
  text += FitText(exported.solution, MaxReportSolutionLength);
  text += LineEnd;
  text += LineEnd;
  return text;
}

int PgnYear(std::string_view source) {
  const std::size_t at = source.find("19");
  if (at == std::string_view::npos) return DefaultPgnYear;
  // The digits from there on, as a number; a run too long for a year cannot
  // overflow, it simply stays large.
  long year = 0;
  for (std::size_t i = at; i < source.size() && source[i] >= '0' && source[i] <= '9'; ++i) {
    if (year < 100000000) year = year * 10 + (source[i] - '0');
  }
  return year < 1900 ? DefaultPgnYear : static_cast<int>(year);
}

std::string PgnGame(const ExportedProblem& exported) {
  const CurrentProblem& problem = exported.problem;
  std::string game = "\r\n[Event \"?\"]\r\n[Site \"";
  game += problem.source;
  game += "\"]";
  game += Format("\r\n[Date \"%d.??.??\"]\r\n[Round \"?\"]", PgnYear(problem.source), 0);
  game += "\r\n[White \"";
  game += problem.authors;
  game += "\"]\r\n[Black \"";
  game += FormatProblemType(problem.type);
  game += "\"]";
  game += "\r\n[Result \"1-0\"]\r\n[SetUp \"1\"]\r\n[FEN \"";
  game += BoardToForsyth(exported.board, true);
  game += " w - - 0 1\"]\r\n\r\n1. ";
  game += exported.keyMove;
  game += " 1-0\r\n";
  return game;
}

std::string EpdLine(const ExportedProblem& exported) {
  std::string line = BoardToForsyth(exported.board, true);
  line += " w - - id \"";
  line += exported.problem.authors;
  line += "\" ;pv ";
  line += exported.keyMove;
  line += ";";
  line += LineEnd;
  return line;
}

std::string KeyMoveOfSolution(std::string_view solution, const Language& language) {
  std::string move;
  const std::string header = MessagePart(language, WordSolution) + " 1. ";
  for (std::size_t at = solution.find(header); at != std::string_view::npos;
       at = solution.find(header, at + 1)) {
    if (MoveAfter(solution, at + header.size(), move)) return move;
  }
  // A helpmate with White beginning heads its solutions " 1. ... ".
  constexpr std::string_view whiteBegins = "\r\n 1. ... ";
  for (std::size_t at = solution.find(whiteBegins); at != std::string_view::npos;
       at = solution.find(whiteBegins, at + 1)) {
    if (MoveAfter(solution, at + whiteBegins.size(), move)) return move;
  }
  return {};
}

}  // namespace kv
