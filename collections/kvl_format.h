// The byte layout of a collection file (.kvl) and the routines that read and
// write it on a ByteStore.
//
//   offset 0              int16  index of the last record (records - 1), sign-extended
//   2 + 96 i              record i (96 bytes):
//                           +0  2 bytes reserved, written as 0
//                           +2  kind in bits 0-2, flags in bits 3-6 (bit 7 ignored)
//                           +3  number of moves
//                           +4  seven uint32 absolute offsets of strings, slots 0..6
//                           +32 64 position bytes, a8..h8, a7..h1, PieceCode + 0x20
//   2 + 96 (last + 1)     the shared empty string 00 00 00, which blank slots point at
//   after it              the heap: strings as int16 length L (0..32767), L bytes, NUL
//
// Integers are little-endian. Strings that no slot points at any longer are
// dead space until the file is compacted. A file comes from anyone, so every
// length and offset is checked against the file before it is used: a damaged
// file yields Damaged with the place named, and nothing is read past the end
// of the file or into a field past its capacity.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "collections/byte_store.h"
#include "collections/current_problem.h"
#include "collections/file_result.h"
#include "solver/problem_type.h"

namespace kv {

inline constexpr int HeaderSize = 2;
inline constexpr int RecordSize = 96;
inline constexpr int SlotCount = 7;
inline constexpr int MaxLastIndex = 32767;  // 32768 records
inline constexpr int MaxRecords = MaxLastIndex + 1;
inline constexpr int MaxHeapStringLength = 32767;
inline constexpr int HeapStringOverhead = 3;                                      // length and NUL
inline constexpr int NewFileSize = HeaderSize + RecordSize + HeapStringOverhead;  // 101
// How much of a string the text search and the organise tools look at.
inline constexpr int TextSearchReadLength = 4096;
// Slot 6 is read into a work buffer of this many characters before it is split.
inline constexpr int ExtraSlotReadLength = 4095;

inline constexpr int SlotAuthors = 0;
inline constexpr int SlotSource = 1;
inline constexpr int SlotAward = 2;
inline constexpr int SlotComment = 3;
inline constexpr int SlotSolution = 4;
inline constexpr int SlotTwins = 5;
inline constexpr int SlotExtra = 6;

inline constexpr std::uint8_t TypeKindMask = 0x07;
inline constexpr std::uint8_t TypeFlagsMask = 0x78;

constexpr std::uint64_t RecordOffset(int record) {
  return HeaderSize + static_cast<std::uint64_t>(RecordSize) * static_cast<std::uint64_t>(record);
}
constexpr std::uint64_t SlotFieldOffset(int record, int slot) {
  return RecordOffset(record) + 4 + 4 * static_cast<std::uint64_t>(slot);
}
// Where the shared empty string lies: right after the last record.
constexpr std::uint64_t SharedEmptyOffset(int lastIndex) {
  return RecordOffset(lastIndex + 1);
}

// What the search and the problem list read of a record without loading it.
struct RecordHead {
  std::uint8_t typeByte = 0;  // kind and flags as stored
  std::uint8_t moves = 0;
  std::array<std::uint32_t, SlotCount> slotOffsets{};
  PositionBytes position{};

  ProblemType Type() const;
};

// A record's ProblemType from its two type bytes (bit 7 dropped; the spare
// byte and the direct-letter flag 0).
ProblemType TypeFromBytes(std::uint8_t typeByte, std::uint8_t moves);
// The stored type byte: kind OR flags.
std::uint8_t TypeByte(const ProblemType& type);
// A position byte stands for a man or an empty square (0x20..0x26, 0x2A..0x2F).
bool IsValidPositionByte(std::uint8_t byte);

// The bytes of a blank record whose slots point at `sharedEmpty`: no text,
// an empty board, a direct mate in 2.
std::array<std::uint8_t, RecordSize> BlankRecordBytes(std::uint32_t sharedEmpty);
// The file a new collection starts as: header 0, one blank record, the shared
// empty string (101 bytes).
std::vector<std::uint8_t> NewFileBytes();

// The header's last index, checked: at least -1, and every record it counts
// lies inside the file. A file of no bytes holds no record (-1).
FileResult ReadLastIndex(const ByteStore& store, int& lastIndex);
// Type bytes, slot offsets and position bytes of a record of the index.
FileResult ReadRecordHead(const ByteStore& store, int record, RecordHead& head);
// The heads of `count` consecutive records from `first`, in one read.
FileResult ReadRecordHeads(const ByteStore& store, int first, int count, RecordHead* heads);
// The string at `offset`: its stored length (checked: not negative, inside
// the file) and its first `maxLength` bytes. With `cutAtNul` the text ends at
// an embedded NUL, as a NUL-terminated field would show it.
FileResult ReadHeapString(const ByteStore& store, std::uint32_t offset, int maxLength,
                          bool cutAtNul, std::string& text, int* storedLength = nullptr);
// The string of `slot` of `record`, at most `maxLength` characters.
FileResult ReadRecordString(const ByteStore& store, int record, int slot, std::string& text,
                            int maxLength = TextSearchReadLength);
// Type, texts, twins, extra strings and position bytes (into storedBoard) of
// a record, each text read up to its field's length. Leaves `problem` as it
// was on failure. A text whose offset points into the index is damage.
// With `damage`, a damaged text or square does not refuse the record: the
// text reads as empty, the square as empty, and `damage` names each one
// (Damaged); it is Ok when nothing was damaged. A read error still fails.
FileResult ReadProblemRecord(const ByteStore& store, int record, CurrentProblem& problem,
                             FileResult* damage = nullptr);

// What tells one problem from another when other programs may have moved
// the records: its type, its position and every text but the solution, as
// stored. (The solution is what the duplicate scan and the list actions
// rewrite, so it may differ.)
struct ProblemIdentity {
  std::uint8_t typeByte = 0;
  std::uint8_t moves = 0;
  PositionBytes position{};
  std::array<std::string, SlotCount> texts;  // the solution's slot stays empty

  bool operator==(const ProblemIdentity&) const = default;
};

// The identity of `record`; a damaged text fails as ReadProblemRecord does.
FileResult ReadProblemIdentity(const ByteStore& store, int record, ProblemIdentity& identity);

// The record that holds the problem `identity`, which was record `expected`:
// that one when it still does, else the one record of the file that does
// (another program inserted or deleted records meanwhile). NoRecord, saying
// why, when no record or several do.
FileResult FindProblem(const ByteStore& store, const ProblemIdentity& identity, int expected,
                       int& found);

// Writes the record's type, its texts and `position`. A text that fits in the
// string its slot points at is written over it (the shorter tail becomes
// dead space); a longer one is appended at the end of the file. An empty
// solution text leaves slot 4 as it is. Appended strings are written first
// and the 96 index bytes last, so a failed write leaves the record as it was.
FileResult WriteProblemRecord(ByteStore& store, int record, const CurrentProblem& problem,
                              const PositionBytes& position);
// Writes one slot's text the same way.
FileResult WriteSlotText(ByteStore& store, int record, int slot, std::string_view text);

// The whole-file rewrites, from the old bytes to the new ones.
// n > 0 inserts n blank records before `currentIndex` (which may be the end
// of the index); n < 0 deletes -n records from `currentIndex`; at least one
// record stays and at most 32768 fit. The strings of deleted records stay
// as dead space.
FileResult InsertRecordsInBytes(const std::vector<std::uint8_t>& in, int currentIndex, int n,
                                std::vector<std::uint8_t>& out);
// Appends a record holding `problem` and `position`: the bytes a blank record
// appended at the end and then saved into would give, in one step, so that
// the whole append is one rewrite. An empty file (no header) grows into the
// new file's blank record, which then takes the problem. `appended` is the
// new record's index.
FileResult AppendProblemBytes(const std::vector<std::uint8_t>& in, const CurrentProblem& problem,
                              const PositionBytes& position, std::vector<std::uint8_t>& out,
                              int& appended);
// Rewrites the heap without dead space: every non-empty string once per slot,
// in record and slot order, after the shared empty string and a zero byte.
FileResult CompactBytes(const std::vector<std::uint8_t>& in, std::vector<std::uint8_t>& out);

}  // namespace kv
