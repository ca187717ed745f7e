// Feeds arbitrary bytes as a stored twins field (the `--twins` value, the
// "Jumeaux" key, a record's twins slot): describing and applying every entry
// must never crash or touch the board outside its cells, in any language.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/fen.h"
#include "solver/twins.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  // The field as it can be stored: no zero byte, at most 127 bytes.
  std::string field(reinterpret_cast<const char*>(data), size);
  field = field.substr(0, field.find('\0')).substr(0, kv::TwinsFieldSize - 1);
  kv::Language language;
  language.base = (data[0] & 3) * 256;
  kv::Board board{};
  kv::ParseFenBoard("r3k2r/pppq1ppp/2n2n2/3pp3/3PP3/2N2N2/PPPQ1PPP/R3K2R", board, nullptr);
  kv::ProblemType type;
  kv::ProblemType saved;
  const int count = kv::TwinCount(field);
  kv::TwinsSuccessive(field);
  for (int i = 0; i < count; ++i) {
    const kv::TwinEntry entry = kv::TwinEntryAt(field, i);
    kv::DescribeTwin(field, i, board, language);
    kv::TwinProblemType(entry);
    kv::ApplyTwin(entry, board, type, saved, kv::Move{});
    if (board[0] != kv::OffBoard || board[kv::BoardCells - 1] != kv::OffBoard) __builtin_trap();
  }
  return 0;
}
