#include "collections/collection_dialogs.h"

#include <algorithm>

namespace kv {

namespace {

// The file of the save dialog, created empty when missing (complete or not at
// all, and only when no other program created it first).
FileResult OpenOrCreate(const std::string& path, LockedFile& file) {
  for (int attempt = 0; attempt < 3; ++attempt) {
    if (FileResult opened = file.Open(path, FileAccess::WriteCreate); !opened) return opened;
    if (file.exists()) return {};
    FileResult created = file.ReplaceContents({});
    if (!file.nameTaken()) return created;
  }
  return Fail(FileStatus::CannotOpen, "the name is taken by a file that cannot be opened");
}

}  // namespace

FileResult OpenSaveDialog(CollectionState& state, SaveDialog& dialog) {
  LockedFile file;
  if (FileResult opened = OpenOrCreate(state.currentFileName, file); !opened) return opened;
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
  // Past the end the problem is appended in one operation, wherever the end
  // lies by now: another program may have grown the file since the dialog
  // opened.
  result = index > dialog.lastIndex ? AppendProblem(state, problem, board)
                                    : SaveProblem(state, problem, board);
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
