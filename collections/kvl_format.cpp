#include "collections/kvl_format.h"

#include <algorithm>
#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <limits>
#include <new>
#include <stdexcept>

#include "collections/locked_file.h"

namespace kv {
namespace {

constexpr std::uint64_t MaxOffset = std::numeric_limits<std::uint32_t>::max();
constexpr std::uint8_t BlankMoves = 2;
// Where a rewrite points a slot whose offset was already outside the heap.
constexpr std::uint32_t DamagedOffset = 0xFFFFFFFF;

std::uint16_t Get16(const std::uint8_t* p) {
  return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}
std::uint32_t Get32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
         (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
void Put16(std::uint8_t* p, int value) {
  p[0] = static_cast<std::uint8_t>(value & 0xFF);
  p[1] = static_cast<std::uint8_t>((value >> 8) & 0xFF);
}
void Put32(std::uint8_t* p, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

std::string Printf(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string Printf(const char* format, ...) {
  char text[160];
  va_list args;
  va_start(args, format);
  std::vsnprintf(text, sizeof text, format, args);
  va_end(args);
  return text;
}

FileResult Damaged(std::string detail) {
  return Fail(FileStatus::Damaged, std::move(detail));
}

// Names the record (counted from 1, as the user counts) and the text in a
// damage report.
FileResult InRecord(FileResult result, int record, int slot) {
  static constexpr const char* SlotNames[SlotCount] = {
      "authors", "source", "award", "comment", "solution", "twins", "additional information"};
  if (result.status == FileStatus::Damaged) {
    result.detail = Printf("problem %d, %s: ", record + 1, SlotNames[slot]) + result.detail;
  }
  return result;
}

// A read that failed: the disk's read error, or bytes the file does not hold
// (it is shorter than its own numbers say), which is damage.
FileResult ReadFailure(const ByteStore& store, std::string damage) {
  if (store.readError() != 0) {
    return Fail(FileStatus::CannotOpen, "read error: " + ErrnoText(store.readError()));
  }
  return Damaged(std::move(damage));
}

// A text's offset that points into the header or the index would read the
// bytes of records as text: damage, never text.
FileResult CheckNotInIndex(std::uint32_t offset, std::uint64_t sharedEmpty) {
  if (offset >= sharedEmpty) return {};
  return Damaged(Printf("the text's offset %u points into the index of problems", offset));
}

FileResult WriteError() {
  return Fail(FileStatus::WriteFailed, ErrnoText(errno));
}

// One string as the heap stores it.
void AppendHeapString(std::vector<std::uint8_t>& heap, std::string_view text) {
  const std::size_t at = heap.size();
  heap.resize(at + 2);
  Put16(heap.data() + at, static_cast<int>(text.size()));
  heap.insert(heap.end(), text.begin(), text.end());
  heap.push_back(0);
}

std::array<std::uint8_t, RecordSize> RecordBytes(const RecordHead& head) {
  std::array<std::uint8_t, RecordSize> bytes{};
  bytes[2] = head.typeByte;
  bytes[3] = head.moves;
  for (int k = 0; k < SlotCount; ++k) Put32(bytes.data() + 4 + 4 * k, head.slotOffsets[k]);
  std::copy(head.position.begin(), head.position.end(), bytes.begin() + 32);
  return bytes;
}

// The texts of the seven slots, each cut to what its field holds.
std::array<std::string, SlotCount> SlotTexts(const CurrentProblem& problem) {
  return {std::string(FitText(problem.authors, MaxAuthorsLength)),
          std::string(FitText(problem.source, MaxSourceLength)),
          std::string(FitText(problem.award, MaxAwardLength)),
          std::string(FitText(problem.comment, MaxCommentLength)),
          std::string(FitText(problem.solutionText, MaxHeapStringLength)),
          std::string(FitText(problem.twins, MaxTwinsLength)),
          JoinExtraStrings(problem.extraStrings)};
}

// Decides, slot by slot in order, where each text goes: over the old string
// when that is at least as long (its stored length then shrinks and the rest
// becomes dead space), else at the end of the file. The writes happen
// afterwards, the appended block first, so that running out of room changes
// nothing.
class SlotWritePlan {
 public:
  SlotWritePlan(const ByteStore& store, int lastIndex, const RecordHead& head)
      : store_(store), sharedEmpty_(SharedEmptyOffset(lastIndex)), end_(store.size()) {
    for (int k = 0; k < SlotCount; ++k) {
      const std::uint32_t offset = head.slotOffsets[k];
      const int stored = StoredLength(offset);
      oldStrings_[k] = {offset, stored < 0 ? offset : offset + HeapStringOverhead + stored};
    }
  }

  // Where the text of `slot` goes; `offset` is the slot's offset, updated.
  FileResult Place(int slot, std::string_view text, std::uint32_t& offset) {
    if (FitsInPlace(slot, static_cast<int>(text.size()))) {
      inPlace_.push_back({offset, std::string(text)});
      return {};
    }
    if (end_ + appended_.size() + HeapStringOverhead + text.size() > MaxOffset) {
      return Fail(FileStatus::Full, "the file would grow past 4 GB");
    }
    offset = static_cast<std::uint32_t>(end_ + appended_.size());
    AppendHeapString(appended_, text);
    return {};
  }

  // False when a write failed (errno tells why); a failed append is cut off
  // again, so the file is as it was.
  bool Execute(ByteStore& store) const {
    if (!appended_.empty() && !store.Write(end_, appended_.data(), appended_.size())) {
      const int error = errno;
      store.Truncate(end_);
      errno = error;
      return false;
    }
    for (const InPlace& string : inPlace_) {
      std::vector<std::uint8_t> bytes;
      AppendHeapString(bytes, string.text);
      if (!store.Write(string.offset, bytes.data(), bytes.size())) return false;
    }
    return true;
  }

 private:
  struct InPlace {
    std::uint32_t offset;
    std::string text;
  };
  struct Span {  // bytes begin .. end - 1 of the file
    std::uint64_t begin = 0;
    std::uint64_t end = 0;
  };

  // The stored length of the string at `offset`; -1 when it cannot be read.
  int StoredLength(std::uint32_t offset) const {
    std::uint8_t length[2];
    if (!store_.Read(offset, length, 2)) return -1;
    return static_cast<std::int16_t>(Get16(length));
  }

  // Only a string of the heap that lies wholly in the file is overwritten,
  // and only where no other text of the record lies (in a file written by
  // this format's rules strings never overlap; a damaged or foreign file may
  // have them do so). The shared empty string takes only an empty text,
  // which leaves it as it is.
  bool FitsInPlace(int slot, int length) const {
    const Span old = oldStrings_[slot];
    if (old.begin == sharedEmpty_) {
      return length == 0 && sharedEmpty_ + HeapStringOverhead <= store_.size();
    }
    if (old.begin < sharedEmpty_ + HeapStringOverhead || old.end > store_.size()) return false;
    if (old.end - old.begin < static_cast<std::uint64_t>(HeapStringOverhead + length)) {
      return false;
    }
    const Span written{old.begin, old.begin + HeapStringOverhead + length};
    for (int k = 0; k < SlotCount; ++k) {
      if (k == slot || oldStrings_[k].begin == sharedEmpty_) continue;
      const Span other = oldStrings_[k];
      const bool sameString = other.begin == old.begin;
      const bool overlaps = other.begin < written.end && written.begin < other.end;
      if (sameString || overlaps) return false;
    }
    return true;
  }

  const ByteStore& store_;
  std::uint64_t sharedEmpty_;
  std::uint64_t end_;
  std::array<Span, SlotCount> oldStrings_;
  std::vector<std::uint8_t> appended_;
  std::vector<InPlace> inPlace_;
};

FileResult RecordToWrite(const ByteStore& store, int record, int& lastIndex, RecordHead& head) {
  if (FileResult read = ReadLastIndex(store, lastIndex); !read) return read;
  if (record < 0 || record > lastIndex) {
    return Fail(FileStatus::NoRecord,
                Printf("problem %d does not exist; the file holds %d", record + 1, lastIndex + 1));
  }
  return ReadRecordHead(store, record, head);
}

}  // namespace

ProblemType RecordHead::Type() const {
  return TypeFromBytes(typeByte, moves);
}

ProblemType TypeFromBytes(std::uint8_t typeByte, std::uint8_t moves) {
  ProblemType type;
  type.moves = moves;
  type.kind = typeByte & TypeKindMask;
  type.flags = typeByte & TypeFlagsMask;
  type.spare = 0;
  type.directLetterFlag = 0;
  return type;
}

std::uint8_t TypeByte(const ProblemType& type) {
  return static_cast<std::uint8_t>((type.kind & TypeKindMask) | (type.flags & TypeFlagsMask));
}

bool IsValidPositionByte(std::uint8_t byte) {
  return (byte >= 0x20 && byte <= 0x26) || (byte >= 0x2A && byte <= 0x2F);
}

std::array<std::uint8_t, RecordSize> BlankRecordBytes(std::uint32_t sharedEmpty) {
  RecordHead blank;
  blank.typeByte = 0;
  blank.moves = BlankMoves;
  blank.slotOffsets.fill(sharedEmpty);
  blank.position = EmptyPositionBytes();
  return RecordBytes(blank);
}

std::vector<std::uint8_t> NewFileBytes() {
  // Five zero bytes (header 0, the shared empty string), grown by one blank
  // record, as appending to an empty file does.
  std::vector<std::uint8_t> empty(HeaderSize + HeapStringOverhead, 0);
  Put16(empty.data(), -1);
  // Growing these fixed, valid bytes by one record cannot fail short of
  // memory for a few hundred bytes, which throws before it.
  std::vector<std::uint8_t> bytes;
  static_cast<void>(InsertRecordsInBytes(empty, 0, 1, bytes));
  return bytes;
}

FileResult ReadLastIndex(const ByteStore& store, int& lastIndex) {
  if (store.size() == 0) {
    lastIndex = -1;
    return {};
  }
  std::uint8_t header[HeaderSize];
  if (!store.Read(0, header, HeaderSize)) {
    return ReadFailure(store, "the file is shorter than its header");
  }
  const int value = static_cast<std::int16_t>(Get16(header));
  if (value < -1) return Damaged(Printf("the header holds %d, not a number of problems", value));
  if (SharedEmptyOffset(value) > store.size()) {
    return Damaged(Printf("the header counts %d problems, more than the file holds", value + 1));
  }
  lastIndex = value;
  return {};
}

FileResult ReadRecordHead(const ByteStore& store, int record, RecordHead& head) {
  return ReadRecordHeads(store, record, 1, &head);
}

FileResult ReadRecordHeads(const ByteStore& store, int first, int count, RecordHead* heads) {
  constexpr int Batch = 256;
  std::uint8_t bytes[Batch * RecordSize];
  for (int done = 0; done < count;) {
    const int n = std::min(Batch, count - done);
    const int record = first + done;
    if (record < 0) return Damaged(Printf("problem %d lies outside the file", record + 1));
    if (!store.Read(RecordOffset(record), bytes, static_cast<std::size_t>(n) * RecordSize)) {
      return ReadFailure(store, Printf("problem %d lies outside the file", record + n));
    }
    for (int i = 0; i < n; ++i) {
      const std::uint8_t* in = bytes + i * RecordSize;
      RecordHead& head = heads[done + i];
      head.typeByte = in[2];
      head.moves = in[3];
      for (int k = 0; k < SlotCount; ++k) head.slotOffsets[k] = Get32(in + 4 + 4 * k);
      std::copy(in + 32, in + RecordSize, head.position.begin());
    }
    done += n;
  }
  return {};
}

FileResult ReadHeapString(const ByteStore& store, std::uint32_t offset, int maxLength,
                          bool cutAtNul, std::string& text, int* storedLength) {
  std::uint8_t lengthBytes[2];
  if (!store.Read(offset, lengthBytes, 2)) {
    return ReadFailure(store, Printf("the text's offset %u lies outside the file", offset));
  }
  const int length = static_cast<std::int16_t>(Get16(lengthBytes));
  if (length < 0) return Damaged(Printf("the text's length %d is negative", length));
  if (offset + 2ull + static_cast<std::uint64_t>(length) > store.size()) {
    return Damaged(Printf("the text of %d characters runs past the end of the file", length));
  }
  const int count = std::min(length, std::max(maxLength, 0));
  std::string read(static_cast<std::size_t>(count), '\0');
  if (!store.Read(offset + 2ull, read.data(), read.size())) {
    return ReadFailure(store,
                       Printf("the text of %d characters runs past the end of the file", length));
  }
  if (cutAtNul) read.resize(FitText(read, read.size()).size());
  text = std::move(read);
  if (storedLength) *storedLength = length;
  return {};
}

FileResult ReadRecordString(const ByteStore& store, int record, int slot, std::string& text,
                            int maxLength) {
  std::uint8_t field[4];
  if (record < 0 || slot < 0 || slot >= SlotCount) {
    return Damaged(Printf("problem %d lies outside the file", record + 1));
  }
  if (!store.Read(SlotFieldOffset(record, slot), field, 4)) {
    return ReadFailure(store, Printf("problem %d lies outside the file", record + 1));
  }
  return InRecord(ReadHeapString(store, Get32(field), maxLength, true, text), record, slot);
}

FileResult ReadProblemRecord(const ByteStore& store, int record, CurrentProblem& problem,
                             FileResult* damage) {
  RecordHead head;
  if (FileResult read = ReadRecordHead(store, record, head); !read) return read;
  int lastIndex = -1;
  if (FileResult header = ReadLastIndex(store, lastIndex); !header) return header;
  // What is damaged is named; without `damage` it refuses the record, with it
  // the damaged parts read as empty and the rest as stored.
  std::string damaged;
  const auto noteDamage = [&](FileResult result) {
    if (!damage || result.status != FileStatus::Damaged) return result;
    damaged += (damaged.empty() ? "" : "; ") + result.detail;
    return FileResult{};
  };
  for (int n = 0; n < PositionByteCount; ++n) {
    if (IsValidPositionByte(head.position[n])) continue;
    const FileResult bad =
        Damaged(Printf("problem %d: square %c%d holds the byte 0x%02X, which is no man", record + 1,
                       'a' + n % 8, 8 - n / 8, head.position[n]));
    if (FileResult refused = noteDamage(bad); !refused) return refused;
    head.position[n] = PositionByteBias;
  }
  CurrentProblem loaded = problem;
  loaded.type = head.Type();
  struct SlotField {
    int slot;
    std::string* text;
    int maxLength;
  };
  std::string extra;
  const SlotField fields[] = {
      {SlotAuthors, &loaded.authors, MaxAuthorsLength},
      {SlotSource, &loaded.source, MaxSourceLength},
      {SlotAward, &loaded.award, MaxAwardLength},
      {SlotComment, &loaded.comment, MaxCommentLength},
      {SlotTwins, &loaded.twins, MaxTwinsLength},
      {SlotSolution, &loaded.solutionText, MaxHeapStringLength},
      {SlotExtra, &extra, ExtraSlotReadLength},
  };
  const std::uint64_t sharedEmpty = SharedEmptyOffset(lastIndex);
  for (const SlotField& field : fields) {
    const std::uint32_t offset = head.slotOffsets[field.slot];
    FileResult read = CheckNotInIndex(offset, sharedEmpty);
    if (read) read = ReadHeapString(store, offset, field.maxLength, true, *field.text);
    if (read) continue;
    field.text->clear();
    if (FileResult refused = noteDamage(InRecord(std::move(read), record, field.slot)); !refused) {
      return refused;
    }
  }
  loaded.extraStrings = SplitExtraStrings(extra);
  loaded.storedBoard = head.position;
  problem = std::move(loaded);
  if (damage) *damage = damaged.empty() ? FileResult{} : Damaged(damaged);
  return {};
}

FileResult ReadProblemIdentity(const ByteStore& store, int record, ProblemIdentity& identity) {
  RecordHead head;
  if (FileResult read = ReadRecordHead(store, record, head); !read) return read;
  int lastIndex = -1;
  if (FileResult header = ReadLastIndex(store, lastIndex); !header) return header;
  ProblemIdentity read;
  read.typeByte = head.typeByte;
  read.moves = head.moves;
  read.position = head.position;
  for (int slot = 0; slot < SlotCount; ++slot) {
    if (slot == SlotSolution) continue;
    const std::uint32_t offset = head.slotOffsets[slot];
    FileResult text = CheckNotInIndex(offset, SharedEmptyOffset(lastIndex));
    if (text) text = ReadHeapString(store, offset, MaxHeapStringLength, false, read.texts[slot]);
    if (!text) return InRecord(std::move(text), record, slot);
  }
  identity = std::move(read);
  return {};
}

FileResult FindProblem(const ByteStore& store, const ProblemIdentity& identity, int expected,
                       int& found) {
  int lastIndex = -1;
  if (FileResult header = ReadLastIndex(store, lastIndex); !header) return header;
  const auto holds = [&](int record, bool& same) {
    ProblemIdentity there;
    FileResult read = ReadProblemIdentity(store, record, there);
    same = read && there == identity;
    // A damaged record is not the problem looked for; a read error stops.
    return read.status == FileStatus::Damaged ? FileResult{} : read;
  };
  bool same = false;
  if (expected >= 0 && expected <= lastIndex) {
    if (FileResult read = holds(expected, same); !read) return read;
    if (same) {
      found = expected;
      return {};
    }
  }
  constexpr int Batch = 256;
  std::vector<RecordHead> heads(Batch);
  int matches = 0;
  for (int first = 0; first <= lastIndex; first += Batch) {
    const int n = std::min(Batch, lastIndex + 1 - first);
    if (FileResult read = ReadRecordHeads(store, first, n, heads.data()); !read) return read;
    for (int i = 0; i < n; ++i) {
      const RecordHead& head = heads[static_cast<std::size_t>(i)];
      if (first + i == expected || head.typeByte != identity.typeByte ||
          head.moves != identity.moves || head.position != identity.position) {
        continue;
      }
      if (FileResult read = holds(first + i, same); !read) return read;
      if (!same) continue;
      found = first + i;
      ++matches;
    }
  }
  if (matches == 1) return {};
  if (matches == 0) {
    return Fail(
        FileStatus::NoRecord,
        Printf("problem %d was changed or removed by another program meanwhile", expected + 1));
  }
  return Fail(FileStatus::NoRecord,
              Printf("problem %d was moved by another program, and the file now holds %d "
                     "problems like it",
                     expected + 1, matches));
}

FileResult WriteProblemRecord(ByteStore& store, int record, const CurrentProblem& problem,
                              const PositionBytes& position) {
  int lastIndex = -1;
  RecordHead head;
  if (FileResult found = RecordToWrite(store, record, lastIndex, head); !found) return found;
  const std::array<std::string, SlotCount> texts = SlotTexts(problem);
  SlotWritePlan plan(store, lastIndex, head);
  for (int slot = 0; slot < SlotCount; ++slot) {
    // A solve empties the solution buffer; the stored solution then stays.
    if (slot == SlotSolution && texts[slot].empty()) continue;
    if (FileResult placed = plan.Place(slot, texts[slot], head.slotOffsets[slot]); !placed) {
      return placed;
    }
  }
  head.typeByte = TypeByte(problem.type);
  head.moves = problem.type.moves;
  head.position = position;
  const std::array<std::uint8_t, RecordSize> bytes = RecordBytes(head);
  if (!plan.Execute(store) || !store.Write(RecordOffset(record), bytes.data(), bytes.size())) {
    return WriteError();
  }
  return {};
}

FileResult WriteSlotText(ByteStore& store, int record, int slot, std::string_view text) {
  int lastIndex = -1;
  RecordHead head;
  if (slot < 0 || slot >= SlotCount) return Fail(FileStatus::NoRecord, "no such text slot");
  if (FileResult found = RecordToWrite(store, record, lastIndex, head); !found) return found;
  SlotWritePlan plan(store, lastIndex, head);
  std::uint32_t offset = head.slotOffsets[slot];
  if (FileResult placed = plan.Place(slot, FitText(text, MaxHeapStringLength), offset); !placed) {
    return placed;
  }
  std::uint8_t field[4];
  Put32(field, offset);
  if (!plan.Execute(store) || !store.Write(SlotFieldOffset(record, slot), field, 4)) {
    return WriteError();
  }
  return {};
}

FileResult InsertRecordsInBytes(const std::vector<std::uint8_t>& in, int currentIndex, int n,
                                std::vector<std::uint8_t>& out) {
  const ByteStore source = ByteStore::OnBytes(in);
  int lastIndex = -1;
  if (FileResult read = ReadLastIndex(source, lastIndex); !read) return read;
  if (n == 0) {
    out = in;
    return {};
  }
  const int newLast = lastIndex + n;
  if (n > 0 && (currentIndex < 0 || currentIndex > lastIndex + 1)) {
    return Fail(FileStatus::NoRecord,
                Printf("cannot insert before problem %d of %d", currentIndex + 1, lastIndex + 1));
  }
  if (n > 0 && newLast > MaxLastIndex) {
    return Fail(FileStatus::Full, Printf("a file holds at most %d problems", MaxRecords));
  }
  if (n < 0 && (currentIndex < 0 || currentIndex - n > lastIndex + 1 || newLast < 0)) {
    return Fail(FileStatus::NoRecord, Printf("cannot delete %d problem(s) from problem %d of %d",
                                             -n, currentIndex + 1, lastIndex + 1));
  }
  const std::uint64_t oldHeap = SharedEmptyOffset(lastIndex);
  const std::uint64_t newHeap = SharedEmptyOffset(newLast);
  // The heap starts with the shared empty string, which new blank records
  // point at; a file cut right after its index gets it back.
  std::vector<std::uint8_t> heap(
      in.begin() + static_cast<std::ptrdiff_t>(std::min<std::uint64_t>(oldHeap, in.size())),
      in.end());
  if (heap.size() < HeapStringOverhead) heap.resize(HeapStringOverhead, 0);
  if (n > 0 && Get16(heap.data()) != 0) {
    return Damaged("the empty string after the last problem is not empty");
  }
  if (newHeap + heap.size() > MaxOffset)
    return Fail(FileStatus::Full, "the file would grow past 4 GB");
  try {
    out.assign(newHeap + heap.size(), 0);
  } catch (const std::bad_alloc&) {
    return Fail(FileStatus::NoMemory, {});
  } catch (const std::length_error&) {
    return Fail(FileStatus::NoMemory, {});
  }
  // Records before the current one keep their places; the rest move so that
  // they end at the new last index.
  const auto record = [](std::vector<std::uint8_t>::const_iterator base, int i) {
    return base + static_cast<std::ptrdiff_t>(RecordOffset(i));
  };
  std::copy(record(in.begin(), 0), record(in.begin(), currentIndex), out.begin() + HeaderSize);
  const int firstMoved = n < 0 ? currentIndex - n : currentIndex;
  std::copy(record(in.begin(), firstMoved), record(in.begin(), lastIndex + 1),
            out.begin() + static_cast<std::ptrdiff_t>(RecordOffset(firstMoved + n)));
  std::copy(heap.begin(), heap.end(), out.begin() + static_cast<std::ptrdiff_t>(newHeap));
  // Every offset into the heap moves with it (deleted records' strings
  // become dead space). A damaged offset, outside the heap, is set beyond
  // any file, so that the move cannot make it point at other bytes and it
  // is still reported when read.
  const std::uint64_t heapEnd = oldHeap + heap.size();
  const std::uint32_t shift = static_cast<std::uint32_t>(static_cast<std::int64_t>(RecordSize) * n);
  for (int i = 0; i <= newLast; ++i) {
    for (int k = 0; k < SlotCount; ++k) {
      std::uint8_t* field = out.data() + SlotFieldOffset(i, k);
      const std::uint32_t offset = Get32(field);
      const bool inHeap = offset >= oldHeap && offset < heapEnd;
      Put32(field, inHeap ? offset + shift : DamagedOffset);
    }
  }
  const std::array<std::uint8_t, RecordSize> blank =
      BlankRecordBytes(static_cast<std::uint32_t>(newHeap));
  for (int i = currentIndex; i < currentIndex + n; ++i) {
    std::copy(blank.begin(), blank.end(),
              out.begin() + static_cast<std::ptrdiff_t>(RecordOffset(i)));
  }
  Put16(out.data(), newLast);
  return {};
}

FileResult AppendProblemBytes(const std::vector<std::uint8_t>& in, const CurrentProblem& problem,
                              const PositionBytes& position, std::vector<std::uint8_t>& out,
                              int& appended) {
  if (in.size() < HeaderSize) {
    out = NewFileBytes();
  } else {
    int lastIndex = -1;
    if (FileResult read = ReadLastIndex(ByteStore::OnBytes(in), lastIndex); !read) return read;
    if (FileResult grown = InsertRecordsInBytes(in, lastIndex + 1, 1, out); !grown) return grown;
  }
  ByteStore store = ByteStore::OnBuffer(out);
  int lastIndex = -1;
  if (FileResult read = ReadLastIndex(store, lastIndex); !read) return read;
  try {
    if (FileResult written = WriteProblemRecord(store, lastIndex, problem, position); !written) {
      return written;
    }
  } catch (const std::bad_alloc&) {
    return Fail(FileStatus::NoMemory, {});
  }
  appended = lastIndex;
  return {};
}

FileResult CompactBytes(const std::vector<std::uint8_t>& in, std::vector<std::uint8_t>& out) {
  const ByteStore source = ByteStore::OnBytes(in);
  int lastIndex = -1;
  if (FileResult read = ReadLastIndex(source, lastIndex); !read) return read;
  if (lastIndex < 0) return Fail(FileStatus::NoRecord, "the file holds no problem");
  const std::uint64_t sharedEmpty = SharedEmptyOffset(lastIndex);
  try {
    out.assign(in.begin(), in.begin() + static_cast<std::ptrdiff_t>(sharedEmpty));
    // The shared empty string and the byte after it, which nothing reads.
    out.insert(out.end(), HeapStringOverhead + 1, 0);
    std::string text;
    for (int record = 0; record <= lastIndex; ++record) {
      for (int slot = 0; slot < SlotCount; ++slot) {
        const std::uint64_t field = SlotFieldOffset(record, slot);
        // Whole strings are copied, raw: compaction must not cut or alter text.
        const std::uint32_t at = Get32(in.data() + field);
        FileResult read = CheckNotInIndex(at, sharedEmpty);
        if (read) read = ReadHeapString(source, at, MaxHeapStringLength, false, text);
        if (!read) return InRecord(std::move(read), record, slot);
        std::uint64_t offset = sharedEmpty;
        if (!text.empty()) {
          offset = out.size();
          if (offset + HeapStringOverhead + text.size() > MaxOffset) {
            return Fail(FileStatus::Full, "the file would grow past 4 GB");
          }
          AppendHeapString(out, text);
        }
        Put32(out.data() + field, static_cast<std::uint32_t>(offset));
      }
    }
  } catch (const std::bad_alloc&) {
    return Fail(FileStatus::NoMemory, {});
  }
  return {};
}

}  // namespace kv
