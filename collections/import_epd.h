// Import of EPD files: one problem per line, the board from the line's first
// field and the authors from the rest of the line.
#pragma once

#include <string>
#include <string_view>

#include "collections/file_result.h"
#include "collections/import_source.h"
#include "collections/import_target.h"

namespace kv {

// The longest line read; the rest of a longer line is left out.
inline constexpr int EpdLineLength = 255;
// The most characters of a line's authors.
inline constexpr std::size_t EpdAuthorsLength = 255;

// The authors of an EPD line's text after its board: up to the first control
// character, at most 255 characters, every space right after a ";" left out.
std::string EpdAuthors(std::string_view rest);

// Reads every line that is not blank as a problem: the characters before the
// first space are a Forsyth board, the rest of the line the authors.
FileResult ReadEpdProblems(SourceReader& source, ImportBatch& batch);

// Imports the EPD file env.state.currentFileName (see RunImport).
ImportResult ImportEpd(ImportEnv& env);

}  // namespace kv
