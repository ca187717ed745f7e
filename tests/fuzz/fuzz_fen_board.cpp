// Feeds arbitrary bytes to the FEN reader (as `solve --fen` and `perft` pass
// it on): it must never crash, and a board it accepts must be written back
// as a field that reads as the same board.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/fen.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view line(reinterpret_cast<const char*>(data), size);
  kv::Board board{};
  bool whiteToMove = true;
  std::string error;
  if (!kv::ParseFen(line, board, whiteToMove, &error)) return 0;
  const std::string field = kv::FenBoardField(board);
  kv::Board again{};
  if (!kv::ParseFenBoard(field, again, nullptr) || again != board) std::abort();
  return 0;
}
