#include "core/notation.h"

#include "core/tables.h"

namespace kv {
namespace {

constexpr std::string_view kFrenchFileLetters =
    "  ab\xE7"
    "d\xE9"
    "fgh";
constexpr std::string_view kCaptureSigns[] = {"x", ":", "*"};

// A letter of a 16-character letter string; a shorter custom string gives
// no letter rather than a read past its end.
void AppendLetter(std::string& text, std::string_view letters, int code) {
  if (code >= 0 && static_cast<std::size_t>(code) < letters.size()) text += letters[code];
}

char File(int square, bool frenchLetters) {
  return frenchLetters ? kFrenchFileLetters[square % 10] : FileLetter(square);
}

bool IsKing(int man) {
  return man == WhiteKing || man == BlackKing;
}

// The mark of the changed or transferred mates table, 0 when the move is
// not in it.
char TableMark(const Board& board, const Move& move, const NotationContext& context) {
  const bool black = move.moved > OffBoard;
  const bool matchFrom = !black && DisambiguationChar(board, move, context.french) != 0;
  for (const SolutionPair& pair : context.marks) {
    if (pair.first.move.from == 0) break;  // end of the table
    if (black) {
      const Move& reply = pair.first.move;
      if (reply.from == move.from && reply.to == move.to && reply.placed == move.placed &&
          pair.first.mark != 0) {
        return static_cast<char>(pair.first.mark);
      }
    } else {
      const Move& mate = pair.second.move;
      if (mate.to == move.to && mate.placed == move.placed &&
          (!matchFrom || mate.from == move.from) && pair.second.mark != 0) {
        return static_cast<char>(pair.second.mark);
      }
    }
  }
  return 0;
}

}  // namespace

NotationContext NotationContextFor(const Language& language, bool figurines) {
  NotationContext context;
  context.french = language.base == LanguageFrench;
  context.notationLetters = NotationLetters(language, figurines);
  context.plainLetters = PlainLetters(language);
  return context;
}

char DisambiguationChar(const Board& board, const Move& move, bool french) {
  const int man = move.placed;
  int rival = 0;
  if (man == WhiteRook || man == BlackRook) {
    for (int d : RookOffsets) {
      const int p = FirstMan(board, move.to, d);
      if (board[p] == man && p != move.from) {
        rival = p;
        break;
      }
    }
  } else if (man == WhiteKnight || man == BlackKnight) {
    for (int o : KnightOffsets) {
      const int p = move.to + o;
      if (board[p] == man && p != move.from) {
        rival = p;
        break;
      }
    }
  }
  if (rival == 0) return 0;
  if (rival % 10 == move.from % 10) return RankDigit(move.from);
  return File(move.from, french);
}

std::string MoveToText(const Board& board, const SolutionRecord& record, int flags,
                       const NotationContext& context) {
  const Move& m = record.move;
  const bool continuation = (flags & NotationContinuation) != 0;
  const bool shortForm = context.shortNotation;
  const std::string_view letters = context.batchExport              ? FixedEnglishLetters
                                   : (flags & NotationPlainLetters) ? context.plainLetters
                                                                    : context.notationLetters;
  const bool frenchFiles = shortForm && context.french;
  const bool promotion = m.placed != m.moved;
  std::string text;
  auto finish = [&text, &board, &m, &context]() {
    if (!context.marks.empty()) {
      if (const char mark = TableMark(board, m, context); mark != 0) {
        text += " [";
        text += mark;
        text += "] ";
      }
    }
    if (text.size() > MaxMoveTextLength) text.resize(MaxMoveTextLength);
    return text;
  };

  if (!continuation) {
    if (IsKing(m.moved) && m.from - m.to == -2) return "O-O";
    if (IsKing(m.moved) && m.from - m.to == 2) return "O-O-O";
    if (!IsPawnCode(m.moved)) AppendLetter(text, letters, m.moved);
    if (!shortForm || record.mark == AdLibMark) {
      text += FileLetter(m.from);
      text += RankDigit(m.from);
      if (record.mark == AdLibMark) {
        text += shortForm ? "~" : " ad lib";
        return finish();
      }
      if (m.captured == 0) text += '-';
    }
    if (shortForm) {
      if (IsPawnCode(m.moved)) {
        if (m.captured != 0) text += File(m.from, frenchFiles);
      } else if (const char c = DisambiguationChar(board, m, context.french); c != 0) {
        text += c;
      }
    }
  }
  if (m.captured != 0) {
    const int sign = context.captureSign >= 0 && context.captureSign <= 2 ? context.captureSign : 0;
    if (m.captured >= 100) {
      text += '(';
      text += kCaptureSigns[sign];
      text += ')';
    } else if (!(promotion && continuation)) {
      text += kCaptureSigns[sign];
    }
  }
  if (!(promotion && continuation)) {
    text += File(m.to, frenchFiles);
    const char digit = RankDigit(m.to);
    text += context.rankMirror ? static_cast<char>('9' - digit + '0') : digit;
  }
  if (m.capture != m.to) text += " e.p.";
  if (promotion) {
    if (!continuation) text += '=';
    AppendLetter(text, letters, m.placed);
  }
  if (record.mark == CheckMark) text += '+';
  return finish();
}

std::string MoveToText(const Board& board, const Move& move, int flags,
                       const NotationContext& context) {
  return MoveToText(board, SolutionRecord{move, 0}, flags, context);
}

}  // namespace kv
