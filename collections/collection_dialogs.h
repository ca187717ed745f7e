// The decisions of the save dialog and the organise dialog, without the
// dialogs: what they show, which numbers they accept, and what their answers
// do to the file. The windows only display these and pass the user's input.
#pragma once

#include "collections/problem_file.h"

namespace kv {

// The save dialog, opened on state.currentFileName.
struct SaveDialog {
  int lastIndex = -1;  // -1 while the file holds no record
  int number = 1;      // the number shown, from 1; lastIndex + 2 appends

  int Size() const { return lastIndex + 1; }
  // The up-down control's range is 1 .. Size(); the appending number can be typed.
  int MaxNumber() const { return lastIndex + 2; }
};

// Opening: the file is created empty when missing; its header gives
// lastIndex (-1 when it has fewer than two bytes). A currentIndex of -1 (a
// problem waiting to be placed) becomes the appending index.
FileResult OpenSaveDialog(CollectionState& state, SaveDialog& dialog);

// OK with the number typed: refused (false, nothing done) outside
// 1 .. lastIndex + 2. Otherwise the number becomes currentIndex and the
// problem is saved there (an existing record is overwritten), or appended
// when the number lies past the end (currentIndex is then the new record). `result` tells how the
// file operations went.
bool AcceptSaveDialog(CollectionState& state, const SaveDialog& dialog, int number,
                      CurrentProblem& problem, const Board& board, FileResult& result);

// Cancel: refused while the file holds no record (the problem must go
// somewhere); else a currentIndex past the end goes back to 0.
bool CancelSaveDialog(CollectionState& state, const SaveDialog& dialog);

// The organise dialog's answers.
inline constexpr int OrganiseCancel = 0;
inline constexpr int OrganiseCompact = 9999;

// The insert count accepted by the dialog: 1 .. 999.
bool IsValidInsertCount(int count);

// Runs the dialog's answer: +count inserts, -count deletes (brought within
// the dialog's limits first), OrganiseCompact compacts, 0 does nothing.
// Afterwards the caller empties the problem list (after an insertion or a
// deletion) and reloads the current record.
FileResult ApplyOrganiseAnswer(CollectionState& state, int answer);

}  // namespace kv
