// libFuzzer harness for the collection file reader: any bytes, read as a
// .kvl file, must give results or clear failures and never a read out of
// bounds. Whatever reads cleanly must survive a save, an insertion, a
// deletion and a compaction with its texts intact.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "collections/kvl_format.h"

namespace {

// Stops with the line of the broken promise.
void CheckAt(bool condition, int line) {
  if (condition) return;
  std::fprintf(stderr, "fuzz_kvl_reader: check on line %d failed\n", line);
  std::abort();
}
#define Check(condition) CheckAt((condition), __LINE__)

bool SameTexts(const kv::CurrentProblem& a, const kv::CurrentProblem& b) {
  return a.authors == b.authors && a.source == b.source && a.award == b.award &&
         a.comment == b.comment && a.solutionText == b.solutionText && a.twins == b.twins &&
         a.extraStrings == b.extraStrings && a.storedBoard == b.storedBoard &&
         a.type.kind == b.type.kind && a.type.flags == b.type.flags && a.type.moves == b.type.moves;
}

// Loads every record; false when the header is unreadable.
bool LoadAll(const std::vector<std::uint8_t>& bytes, std::vector<kv::CurrentProblem>& problems,
             std::vector<bool>& loaded) {
  const kv::ByteStore store = kv::ByteStore::OnBytes(bytes);
  int lastIndex = -1;
  if (!kv::ReadLastIndex(store, lastIndex)) return false;
  problems.assign(static_cast<std::size_t>(lastIndex + 1), kv::CurrentProblem{});
  loaded.assign(problems.size(), false);
  for (int record = 0; record <= lastIndex; ++record) {
    kv::RecordHead head;
    Check(kv::ReadRecordHead(store, record, head).ok());
    std::string text;
    // Bytes in memory cannot fail to read: a text is read or named as damage.
    for (int slot = 0; slot < kv::SlotCount; ++slot) {
      const kv::FileResult read = kv::ReadRecordString(store, record, slot, text);
      Check(read.ok() || (read.status == kv::FileStatus::Damaged && !read.detail.empty()));
    }
    loaded[record] = kv::ReadProblemRecord(store, record, problems[record]).ok();
    // Read with what can be read: the same problem when nothing is damaged,
    // else damage named (a record the file does not hold stays refused).
    kv::CurrentProblem readable;
    kv::FileResult damage;
    const kv::FileResult tolerant = kv::ReadProblemRecord(store, record, readable, &damage);
    if (loaded[record])
      Check(tolerant.ok() && damage.ok() && SameTexts(readable, problems[record]));
    if (!loaded[record] && tolerant.ok()) {
      Check(damage.status == kv::FileStatus::Damaged && !damage.detail.empty());
    }
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::vector<std::uint8_t> bytes(data, data + size);
  std::vector<kv::CurrentProblem> problems;
  std::vector<bool> loaded;
  if (!LoadAll(bytes, problems, loaded) || problems.empty()) return 0;
  const int lastIndex = static_cast<int>(problems.size()) - 1;

  // Compaction keeps every record that read cleanly, text for text.
  std::vector<std::uint8_t> compacted;
  if (kv::CompactBytes(bytes, compacted).ok()) {
    std::vector<kv::CurrentProblem> after;
    std::vector<bool> afterLoaded;
    Check(LoadAll(compacted, after, afterLoaded));
    Check(after.size() == problems.size());
    for (std::size_t i = 0; i < problems.size(); ++i) {
      if (loaded[i]) Check(afterLoaded[i] && SameTexts(problems[i], after[i]));
    }
  }

  // Inserting a blank record and deleting it again gives the same bytes back
  // when every offset pointed into the heap (others are marked as damaged).
  const int at = static_cast<int>(size % static_cast<std::size_t>(lastIndex + 2));
  std::vector<std::uint8_t> grown, shrunk;
  if (kv::InsertRecordsInBytes(bytes, at, 1, grown).ok()) {
    Check(kv::InsertRecordsInBytes(grown, at, -1, shrunk).ok());
    const std::uint64_t heap = kv::SharedEmptyOffset(lastIndex);
    bool offsetsInHeap = bytes.size() >= heap + kv::HeapStringOverhead;
    const kv::ByteStore store = kv::ByteStore::OnBytes(bytes);
    for (int record = 0; record <= lastIndex && offsetsInHeap; ++record) {
      kv::RecordHead head;
      Check(kv::ReadRecordHead(store, record, head).ok());
      for (const std::uint32_t offset : head.slotOffsets) {
        offsetsInHeap = offsetsInHeap && offset >= heap && offset < bytes.size();
      }
    }
    if (offsetsInHeap) Check(shrunk == bytes);
  }

  // A problem saved into the first record reads back as it was saved.
  if (loaded[0]) {
    std::vector<std::uint8_t> saved = bytes;
    kv::ByteStore store = kv::ByteStore::OnBuffer(saved);
    kv::CurrentProblem problem = problems[0];
    problem.authors += "x";
    problem.comment.clear();
    problem.solutionText = "1.Qd4!";
    if (kv::WriteProblemRecord(store, 0, problem, problem.storedBoard).ok()) {
      kv::CurrentProblem back;
      Check(kv::ReadProblemRecord(kv::ByteStore::OnBytes(saved), 0, back).ok());
      problem.authors.resize(std::min<std::size_t>(problem.authors.size(), kv::MaxAuthorsLength));
      problem.extraStrings = kv::SplitExtraStrings(kv::JoinExtraStrings(problem.extraStrings));
      Check(SameTexts(problem, back));
    }
  }
  return 0;
}
