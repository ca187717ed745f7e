// The texts a problem is exported as: the text report (heading, diagram, men,
// stipulation, information and solution), one PGN game, one EPD line. They
// are built in memory as Windows-1252 bytes with CR LF line ends; the export
// (export.h) appends them to the output file.
#pragma once

#include <string>
#include <string_view>

#include "collections/current_problem.h"
#include "core/position.h"
#include "strings/language.h"

namespace kv {

// The information pane shows at most this many characters; the text report
// takes them.
inline constexpr std::size_t MaxInformationTextLength = 1023;
// The solution editor's text as the text report takes it.
inline constexpr std::size_t MaxReportSolutionLength = 4095;
// The Date tag's year when the source names none from 1900 on.
inline constexpr int DefaultPgnYear = 1999;

// One problem as it is exported: the problem loaded, its position, where it
// lies in its collection, and the solution text the solve just wrote.
struct ExportedProblem {
  const CurrentProblem& problem;
  const Board& board;
  std::string_view fileName;  // full path, as the heading shows it
  int index = 0;              // record, from 0
  int lastIndex = 0;          // of the collection
  std::string_view solution;  // the solution pane's text
  std::string_view keyMove;   // the key as the solution text writes it
};

// The information pane's text: authors in display form, source, award,
// comment, then each extra string behind its label, one per line; two blanks
// anywhere become a line break.
std::string InformationPaneText(const CurrentProblem& problem, const Language& language);

// "(white+black)": the men of each side on the 64 squares.
std::string MenCountText(const Board& board);

// The text report of one problem (appended as a whole).
std::string TextReport(const ExportedProblem& exported, const Language& language, int borderStyle);

// The PGN game of one problem.
std::string PgnGame(const ExportedProblem& exported);
// The year of the Date tag: the number that starts at the first "19" of the
// source, or 1999 when there is none or it is below 1900.
int PgnYear(std::string_view source);

// The EPD line of one problem.
std::string EpdLine(const ExportedProblem& exported);

// The first key of a solution text: the move after "<Solution:> 1. " (or the
// " 1. ... " of a helpmate with White beginning) up to its "!". Empty when
// the text holds no solution.
std::string KeyMoveOfSolution(std::string_view solution, const Language& language);

}  // namespace kv
