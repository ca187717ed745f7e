// Import of solver input files (".inp"): problems written in the keyword
// language that problem solvers share, in its English, French or German
// form. The first keyword of the file ("beginproblem", "debutprobleme" or
// "anfangproblem", or a prefix of three letters or more of one) sets the
// language of the whole file. Keywords are read in either case and may be
// shortened to any prefix that only one keyword of the place where it stands
// has: among the men a colour word comes first ("wei" is "weiss" there, not
// "weiteresproblem"), after "option" an option, after "twin" a twin change,
// and only then a command.
//
// Only what the collection can hold is read: the orthodox men, the
// stipulations #n, =n, h#n, h#n.5, s#n, r#n (also stalemate goals and
// series), the maximummer, the texts, the twins that are twin kinds of ours
// and the options that either only steer the output or search (read, listed
// as not kept) or map onto the stipulation. A problem holding anything else
// (a fairy condition, fairy man or attribute, an option that changes the
// play, a twin we cannot express) is left out as a whole, with a note naming
// it and the reason; so is a problem whose reading was cut short by a
// shortened end keyword. A problem is never half-read.
#pragma once

#include <string>
#include <string_view>

#include "collections/file_result.h"
#include "collections/import_source.h"
#include "collections/import_target.h"
#include "solver/problem_type.h"

namespace kv {

// The longest line read; a longer line makes its problem unreadable.
inline constexpr int PopeyeLineLength = 1023;

// The stipulation of a "stipulation" command: "#2", "h#3", "h#2.5" (a
// helpmate with White beginning, one white move more), "s#4", "r#3", "=3",
// "h=2", "ser-h#5", in either case. False for everything else (fairy goals,
// structured forms, a move count outside 1..255).
bool ParsePopeyeStipulation(std::string_view text, ProblemType& type);

// Whether a text field of the file (an author, a title, ...) is read as
// UTF-8: it is valid UTF-8 holding at least one character beyond ASCII. Any
// other text is taken as Windows-1252 bytes already.
bool PopeyeTextIsUtf8(std::string_view text);

// Reads every problem of the source into `batch`; problems that do not map
// are recorded with ImportBatch::Skip. Fails only when the source does not
// begin with a begin keyword (so it is no such file at all).
FileResult ReadPopeyeProblems(SourceReader& source, ImportBatch& batch);

// Imports the input file env.state.currentFileName (see RunImport).
ImportResult ImportPopeye(ImportEnv& env);

}  // namespace kv
