#include "solver/problem_type.h"

#include <cstdio>

#include "solver/series_solve.h"

namespace kv {

std::string FormatProblemType(const ProblemType& type, bool forSearchDialog) {
  if (type.moves == 0 && !forSearchDialog) return (type.flags & FlagStalemate) ? "=" : "+";
  const char* letters = forSearchDialog ? "?dhsr" : (type.directLetterFlag ? "dhsr" : " hsr");
  const int letterCount = forSearchDialog ? 5 : 4;
  const char kindLetter = type.kind < letterCount ? letters[type.kind] : '?';
  char text[32];
  std::snprintf(text, sizeof text, "%c%c%c%d", (type.flags & FlagSeries) ? 's' : ' ', kindLetter,
                (type.flags & FlagStalemate) ? '=' : '#', type.moves);
  std::string result = text;
  if (type.flags & FlagMaximum) result += " max";
  if (type.flags & FlagWhiteBegins) result += " W";
  return result;
}

bool CanSolve(const ProblemType& type) {
  // A record's kind byte can hold 4..7 in a damaged or foreign file; such a
  // problem is refused rather than solved as something it is not. Every
  // length the byte holds is solved (a study, 0, has no stipulation to
  // solve), mate and stalemate goals, with or without the maximummer; a
  // series mover has rules of its own.
  if (type.flags & FlagSeries) return CanSolveSeries(type);
  return type.kind <= KindReflex && type.moves >= 1;
}

}  // namespace kv
