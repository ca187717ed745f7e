// Import of dBASE tables of problems: fixed-width character fields holding
// the author, the source and year, the award, the number of moves and the
// squares of the 32 men.
#pragma once

#include <string>
#include <string_view>

#include "collections/file_result.h"
#include "collections/import_source.h"
#include "collections/import_target.h"
#include "strings/language.h"

namespace kv {

// Where the fields lie in a record's data (after its deletion-mark byte).
inline constexpr int DbfAuthorOffset = 0;
inline constexpr int DbfAuthorWidth = 30;
inline constexpr int DbfSourceOffset = 30;
inline constexpr int DbfSourceWidth = 30;
inline constexpr int DbfYearOffset = 60;
inline constexpr int DbfYearWidth = 4;
inline constexpr int DbfOrdinalOffset = 64;
inline constexpr int DbfOrdinalWidth = 2;
inline constexpr int DbfAwardCodeOffset = 66;
inline constexpr int DbfMovesOffset = 68;
inline constexpr int DbfCommentOffset = 64;
inline constexpr int DbfCommentWidth = 11;
inline constexpr int DbfSquaresOffset = 75;
inline constexpr int DbfMen = 32;
inline constexpr int DbfRecordDataLength = DbfSquaresOffset + 2 * DbfMen;  // 139
// The table header bytes the importer reads: the record count (4..7), the
// header length (8..9) and the record length (10..11) follow the version
// and date.
inline constexpr int DbfHeaderBytes = 12;

// "SMITH JOHN" as "SMITH, John": the first word as written, a comma before
// the first space, the rest lower-cased with every letter after a space
// upper-cased. The field ends at two consecutive spaces.
std::string DbfAuthor(std::string_view field);

// The source name in title case (lower-cased, the first letter and every
// letter after a space upper-cased), ending at two consecutive spaces, then
// the year after one space when there is one.
std::string DbfSource(std::string_view name, std::string_view year);

// The award of the ordinal and code fields: "cc" an honourable mention, "c"
// with another second letter a prize, "pz" a commendation, "u" a mention, in
// the words of `language`, after "%d° " when the ordinal is not 0; empty for
// any other code.
std::string DbfAward(std::string_view ordinal, std::string_view code, const Language& language);

// Reads the records of a dBASE table into `batch`. A header cut short, a
// record length of 0 or a header length that ends inside the bytes read are
// reported (CannotOpen with the reason) instead of read.
FileResult ReadDbfProblems(SourceReader& source, const Language& language, ImportBatch& batch);

// Imports the dBASE table env.state.currentFileName (see RunImport).
ImportResult ImportDbf(ImportEnv& env);

}  // namespace kv
