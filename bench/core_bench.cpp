// Speed of the rules core: generation, playing and taking back moves, the
// mate-in-one scan, and perft nodes per second.
#include <benchmark/benchmark.h>

#include "core/fen.h"
#include "core/perft.h"
#include "core/rules.h"
#include "core/validation.h"

namespace kv {
namespace {

constexpr const char* kKiwipete = "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R";
constexpr const char* kInitial = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR";

Position Load(const char* fen) {
  Position pos;
  ParseFenBoard(fen, pos.board, nullptr);
  DerivePositionState(pos);
  return pos;
}

void BM_GenerateWhiteMoves(benchmark::State& state) {
  Position pos = Load(kKiwipete);
  MoveList list;
  for (auto _ : state) {
    benchmark::DoNotOptimize(GenerateWhiteMoves(pos, 0, 0, list));
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_GenerateWhiteMoves);

void BM_GenerateBlackMoves(benchmark::State& state) {
  Position pos = Load(kKiwipete);
  MoveList list;
  for (auto _ : state) {
    benchmark::DoNotOptimize(GenerateBlackMoves(pos, 0, 0, list));
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_GenerateBlackMoves);

// Every white move of the position played and taken back.
void BM_MakeUnmake(benchmark::State& state) {
  Position pos = Load(kKiwipete);
  MoveList list;
  GenerateWhiteMoves(pos, 0, 0, list);
  int moves = 0;
  while (list.moves[moves].from != 0) ++moves;
  for (auto _ : state) {
    for (int i = 0; i < moves; ++i) {
      MakeMove(pos, list.moves[i]);
      UnmakeMove(pos, list.moves[i]);
    }
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * moves);
}
BENCHMARK(BM_MakeUnmake);

// Positions of real problems after the key, where White's next move is
// examined for mate: arg 0 a position with a mate, 1 without.
void BM_FindMateInOne(benchmark::State& state) {
  const char* fens[] = {
      "2N5/1q5B/3p3r/R2Pk2p/2Q1Np1B/2pp1R2/1b2b2K/8",  // no mate in one
      "7k/8/6K1/8/8/8/8/RR6",                          // mate
  };
  Position pos = Load(fens[state.range(0)]);
  for (auto _ : state) {
    pos.lastMate = Move{};
    benchmark::DoNotOptimize(FindMateInOne(pos, 0, 0));
  }
}
BENCHMARK(BM_FindMateInOne)->Arg(0)->Arg(1);

void BM_TestMateMoveAllMoves(benchmark::State& state) {
  Position pos = Load(kKiwipete);
  MoveList list;
  GenerateWhiteMoves(pos, 0, 0, list);
  int moves = 0;
  while (list.moves[moves].from != 0) ++moves;
  for (auto _ : state) {
    for (int i = 0; i < moves; ++i) {
      pos.probeMove = list.moves[i];
      benchmark::DoNotOptimize(TestMateMove(pos));
    }
  }
  state.SetItemsProcessed(state.iterations() * moves);
}
BENCHMARK(BM_TestMateMoveAllMoves);

// Items per second are perft nodes per second.
void BM_Perft(benchmark::State& state) {
  Position pos = Load(state.range(0) == 0 ? kInitial : kKiwipete);
  const int depth = state.range(0) == 0 ? 5 : 4;
  std::uint64_t nodes = 0;
  for (auto _ : state) nodes += Perft(pos, depth, true);
  state.SetItemsProcessed(static_cast<std::int64_t>(nodes));
}
BENCHMARK(BM_Perft)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kv
