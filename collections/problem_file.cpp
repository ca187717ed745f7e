#include "collections/problem_file.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "collections/file_replacement.h"

namespace kv {
namespace {

FileResult NoProblemIn() {
  return Fail(FileStatus::NoRecord, "the file holds no problem");
}

// A missing file the rewrite creates may be created by another program at the
// same moment; the rewrite then starts again on that file. More than a few
// such turns mean the name is taken by something that cannot be opened.
constexpr int CreateAttempts = 3;

// Reads the whole file under an exclusive lock, lets `rewrite` build the new
// contents and puts them in place, in one operation: no other writer comes
// between the read and the rename. With WriteCreate a missing file reads as
// no bytes and is created complete or not at all.
template <typename Rewrite>
FileResult RewriteWholeFile(const std::string& path, FileAccess access, int& lastIndex,
                            Rewrite rewrite) {
  for (int attempt = 0; attempt < CreateAttempts; ++attempt) {
    LockedFile file;
    if (FileResult opened = file.Open(path, access); !opened) return opened;
    std::vector<std::uint8_t> old;
    if (FileResult read = file.ReadAll(old); !read) return read;
    std::vector<std::uint8_t> rewritten;
    if (FileResult built = rewrite(old, rewritten); !built) return built;
    FileResult replaced = file.ReplaceContents(rewritten);
    if (file.nameTaken()) continue;
    if (!replaced) return replaced;
    return ReadLastIndex(ByteStore::OnBytes(rewritten), lastIndex);
  }
  return Fail(FileStatus::CannotOpen, "the name is taken by a file that cannot be opened");
}

// Loads record `record` of an open collection into `problem` and `board`.
FileResult LoadRecord(const CollectionReader& reader, int record, CurrentProblem& problem,
                      Board& board, FileResult* damage = nullptr) {
  if (FileResult read = reader.ReadProblem(record, problem, damage); !read) return read;
  PositionBytesToBoard(problem.storedBoard, board);
  problem.infoModified = false;
  problem.loaded = true;
  return {};
}

}  // namespace

FileResult LoadProblem(CollectionState& state, CurrentProblem& problem, Board& board,
                       FileResult* damage) {
  if (damage) *damage = {};
  CollectionReader reader;
  if (FileResult opened = reader.Open(state.currentFileName); !opened) return opened;
  state.lastIndex = reader.lastIndex();
  if (state.lastIndex < 0) return NoProblemIn();
  state.currentIndex = std::clamp(state.currentIndex, 0, state.lastIndex);
  return LoadRecord(reader, state.currentIndex, problem, board, damage);
}

FileResult SaveProblem(CollectionState& state, CurrentProblem& problem, const Board& board) {
  LockedFile file;
  if (FileResult opened = file.Open(state.currentFileName, FileAccess::Write); !opened) {
    return opened;
  }
  ByteStore store = file.Store();
  if (FileResult header = ReadLastIndex(store, state.lastIndex); !header) return header;
  const PositionBytes position = BoardToPositionBytes(board);
  if (FileResult written = WriteProblemRecord(store, state.currentIndex, problem, position);
      !written) {
    return written;
  }
  problem.storedBoard = position;
  problem.infoModified = false;
  return {};
}

FileResult PrepareAppend(CollectionState& state) {
  int appendAt = 0;
  FileResult grown = RewriteWholeFile(
      state.currentFileName, FileAccess::WriteCreate, state.lastIndex,
      [&](const std::vector<std::uint8_t>& in, std::vector<std::uint8_t>& out) {
        // An empty file: header and shared empty string, grown by one blank record.
        if (in.size() < HeaderSize) {
          out = NewFileBytes();
          appendAt = 0;
          return FileResult{};
        }
        int lastIndex = -1;
        if (FileResult header = ReadLastIndex(ByteStore::OnBytes(in), lastIndex); !header) {
          return header;
        }
        appendAt = lastIndex + 1;
        return InsertRecordsInBytes(in, appendAt, 1, out);
      });
  if (grown) state.currentIndex = appendAt;
  return grown;
}

FileResult AppendProblem(CollectionState& state, CurrentProblem& problem, const Board& board) {
  const PositionBytes position = BoardToPositionBytes(board);
  int appended = 0;
  FileResult grown =
      RewriteWholeFile(state.currentFileName, FileAccess::WriteCreate, state.lastIndex,
                       [&](const std::vector<std::uint8_t>& in, std::vector<std::uint8_t>& out) {
                         return AppendProblemBytes(in, problem, position, out, appended);
                       });
  if (!grown) return grown;
  state.currentIndex = appended;
  problem.storedBoard = position;
  problem.infoModified = false;
  return {};
}

FileResult CreateCollection(CollectionState& state) {
  const std::vector<std::uint8_t> bytes = NewFileBytes();
  bool nameTaken = false;
  if (FileResult created = CreateCompleteFile(state.currentFileName, bytes, nameTaken); !created) {
    if (nameTaken) return Fail(FileStatus::CannotOpen, "the file already exists");
    return created;
  }
  state.currentIndex = 0;
  state.lastIndex = 0;
  return {};
}

FileResult InsertRecords(CollectionState& state, int n) {
  const int at = state.currentIndex;
  return RewriteWholeFile(
      state.currentFileName, FileAccess::Write, state.lastIndex,
      [&](const auto& in, auto& out) { return InsertRecordsInBytes(in, at, n, out); });
}

FileResult CompactFile(CollectionState& state) {
  return RewriteWholeFile(state.currentFileName, FileAccess::Write, state.lastIndex,
                          [](const auto& in, auto& out) { return CompactBytes(in, out); });
}

FileResult SaveSolutionText(CollectionState& state, std::string_view text) {
  LockedFile file;
  if (FileResult opened = file.Open(state.currentFileName, FileAccess::Write); !opened) {
    return opened;
  }
  ByteStore store = file.Store();
  if (FileResult header = ReadLastIndex(store, state.lastIndex); !header) return header;
  return WriteSlotText(store, state.currentIndex, SlotSolution, text);
}

FileResult EditSolutionText(
    const std::string& path, int record, const ProblemIdentity& identity,
    const std::function<bool(const std::string& stored, std::string& text)>& edit, int& storedAt) {
  LockedFile file;
  if (FileResult opened = file.Open(path, FileAccess::Write); !opened) return opened;
  ByteStore store = file.Store();
  if (FileResult found = FindProblem(store, identity, record, storedAt); !found) return found;
  std::string stored;
  if (FileResult read =
          ReadRecordString(store, storedAt, SlotSolution, stored, MaxHeapStringLength);
      !read) {
    return read;
  }
  std::string text;
  if (!edit(stored, text)) return {};
  return WriteSlotText(store, storedAt, SlotSolution, text);
}

FileResult ReloadSolutionText(CollectionState& state, CurrentProblem& problem) {
  CollectionReader reader;
  if (FileResult opened = reader.Open(state.currentFileName); !opened) return opened;
  state.lastIndex = reader.lastIndex();
  if (state.currentIndex < 0 || state.currentIndex > state.lastIndex) {
    return Fail(FileStatus::NoRecord, "the problem no longer exists in the file");
  }
  return reader.ReadString(state.currentIndex, SlotSolution, problem.solutionText,
                           MaxHeapStringLength);
}

FileResult LoadProblemNumber(const std::string& path, int number, CurrentProblem& problem,
                             Board& board, FileResult* damage) {
  CollectionReader reader;
  if (FileResult opened = reader.Open(path); !opened) return opened;
  if (reader.count() == 0) return NoProblemIn();
  if (number < 1 || number > reader.count()) {
    char detail[96];
    std::snprintf(detail, sizeof detail, "there is no problem %d; the file holds %d", number,
                  reader.count());
    return Fail(FileStatus::NoRecord, detail);
  }
  return LoadRecord(reader, number - 1, problem, board, damage);
}

int LimitDeleteCount(int count, int currentIndex, int lastIndex) {
  const int records = lastIndex + 1;
  const int toEnd = lastIndex - currentIndex + 1;
  // Each pass can only lower the count, so this ends.
  for (int pass = 0; pass < 3; ++pass) {
    if (count <= toEnd && count < records) break;
    count = toEnd < records ? toEnd : lastIndex;
  }
  return std::max(count, 0);
}

FileResult CollectionSnapshot::Open(const std::string& path) {
  path_ = path;
  lastIndex_ = -1;
  if (FileResult opened = file_.Open(path, FileAccess::Read); !opened) return opened;
  if (FileResult header = ReadLastIndex(file_.Store(), lastIndex_); !header) {
    file_.Close();
    return header;
  }
  file_.Unlock();
  return {};
}

template <typename Read>
FileResult CollectionSnapshot::UnderSharedLock(int record, Read read) {
  if (record < 0 || record > lastIndex_) return Fail(FileStatus::NoRecord, "no such problem");
  if (FileResult locked = file_.LockShared(); !locked) return locked;
  FileResult result = read(file_.Store());
  file_.Unlock();
  return result;
}

FileResult CollectionSnapshot::ReadProblem(int record, CurrentProblem& problem,
                                           ProblemIdentity* identity) {
  return UnderSharedLock(record, [&](const ByteStore& store) {
    FileResult read = ReadProblemRecord(store, record, problem);
    if (read && identity) read = ReadProblemIdentity(store, record, *identity);
    return read;
  });
}

FileResult CollectionSnapshot::ReadIdentity(int record, ProblemIdentity& identity) {
  return UnderSharedLock(
      record, [&](const ByteStore& store) { return ReadProblemIdentity(store, record, identity); });
}

FileResult CollectionReader::Open(const std::string& path) {
  lastIndex_ = -1;
  if (FileResult opened = file_.Open(path, FileAccess::Read); !opened) return opened;
  store_ = file_.Store();
  if (FileResult header = ReadLastIndex(store_, lastIndex_); !header) {
    file_.Close();
    store_ = ByteStore::OnBytes({});
    return header;
  }
  return {};
}

FileResult CollectionReader::ReadHead(int record, RecordHead& head) const {
  if (record < 0 || record > lastIndex_) return Fail(FileStatus::NoRecord, "no such problem");
  return ReadRecordHead(store_, record, head);
}

FileResult CollectionReader::ReadHeads(int first, int count, RecordHead* heads) const {
  if (first < 0 || count < 0 || first + count - 1 > lastIndex_) {
    return Fail(FileStatus::NoRecord, "no such problem");
  }
  return ReadRecordHeads(store_, first, count, heads);
}

FileResult CollectionReader::ReadString(int record, int slot, std::string& text,
                                        int maxLength) const {
  if (record < 0 || record > lastIndex_) return Fail(FileStatus::NoRecord, "no such problem");
  return ReadRecordString(store_, record, slot, text, maxLength);
}

FileResult CollectionReader::ReadProblem(int record, CurrentProblem& problem,
                                         FileResult* damage) const {
  if (record < 0 || record > lastIndex_) return Fail(FileStatus::NoRecord, "no such problem");
  return ReadProblemRecord(store_, record, problem, damage);
}

}  // namespace kv
