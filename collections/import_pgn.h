// Import of PGN files: every game with a "[FEN" tag gives one problem of that
// position, and each problem keeps its game's text (the tag lines without the
// FEN line, and the movetext) as its stored solution text.
#pragma once

#include "collections/file_result.h"
#include "collections/import_source.h"
#include "collections/import_target.h"

namespace kv {

// The longest line read; longer lines are read as several.
inline constexpr int PgnLineLength = 259;
// The game text grows by whole lines while it holds fewer characters than this.
inline constexpr int PgnGameTextLimit = 1024;

// Reads the games of a PGN text into `batch`:
// - a line holding "[FEN" puts the board between its first two double quotes
//   (or from the first one to the end of the line) into a new problem; a
//   "[FEN" line without a double quote is skipped;
// - every other line is gathered, with a CR LF, while the gathered text holds
//   fewer than 1024 characters; a line holding "[Event " first hands the text
//   gathered so far to the last problem, as does the end of the source.
// A game without a FEN tag therefore adds its text to the problem before it.
FileResult ReadPgnProblems(SourceReader& source, ImportBatch& batch);

// Imports the PGN file env.state.currentFileName (see RunImport).
ImportResult ImportPgn(ImportEnv& env);

}  // namespace kv
