#include "collections/collection_dialogs.h"

#include <algorithm>

namespace kv {

FileResult OpenSaveDialog(CollectionState& state, SaveDialog& dialog) {
  LockedFile file;
  if (FileResult opened = file.Open(state.currentFileName, FileAccess::WriteCreate); !opened) {
    return opened;
  }
  dialog.lastIndex = -1;
  if (file.size() >= HeaderSize) {
    if (FileResult header = ReadLastIndex(file.Store(), dialog.lastIndex); !header) return header;
  }
  state.lastIndex = dialog.lastIndex;
  if (state.currentIndex == -1) state.currentIndex = dialog.lastIndex + 1;
  dialog.number = state.currentIndex + 1;
  return {};
}

bool AcceptSaveDialog(CollectionState& state, const SaveDialog& dialog, int number,
                      CurrentProblem& problem, const Board& board, FileResult& result) {
  const int index = number - 1;
  if (index < 0 || index > dialog.lastIndex + 1) return false;
  state.currentIndex = index;
  if (index > dialog.lastIndex) {
    result = PrepareAppend(state);
    if (!result) return true;
  }
  result = SaveProblem(state, problem, board);
  return true;
}

bool CancelSaveDialog(CollectionState& state, const SaveDialog& dialog) {
  if (dialog.lastIndex < 0) return false;
  if (state.currentIndex > dialog.lastIndex) state.currentIndex = 0;
  return true;
}

bool IsValidInsertCount(int count) {
  return count >= 1 && count <= MaxInsertCount;
}

FileResult ApplyOrganiseAnswer(CollectionState& state, int answer) {
  if (answer == OrganiseCancel) return {};
  if (answer == OrganiseCompact) return CompactFile(state);
  if (answer > 0) {
    if (!IsValidInsertCount(answer)) {
      return Fail(FileStatus::NoRecord, "from 1 to 999 problems can be inserted at a time");
    }
    return InsertRecords(state, answer);
  }
  // The header may have changed since the dialog showed it.
  CollectionReader reader;
  if (FileResult opened = reader.Open(state.currentFileName); !opened) return opened;
  const int lastIndex = reader.lastIndex();
  reader.Close();
  const int count = LimitDeleteCount(-answer, state.currentIndex, lastIndex);
  if (count == 0) return Fail(FileStatus::NoRecord, "the last problem of a file cannot be deleted");
  return InsertRecords(state, -count);
}

}  // namespace kv
