// Speed of the collection search: 100,000 problems spread over 20 files,
// searched by material and matrix (the goal: well under a second), by a
// shifted matrix with every symmetry, and by author text (which reads a
// string of every record that passes the other tests).
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "collections/forsyth.h"
#include "collections/kvl_format.h"
#include "collections/search.h"

namespace {

using namespace kv;

// A benchmark over a collection that could not be built would time nothing:
// stop with the reason instead.
void Require(const FileResult& result, const char* what) {
  if (result) return;
  std::fprintf(stderr, "%s: %s\n", what, result.detail.c_str());
  exit(1);
}

constexpr int FileCount = 20;
constexpr int RecordsPerFile = 5000;

// A small generator of its own, so that every run builds the same files.
class Lcg {
 public:
  std::uint32_t Next() {
    state_ = state_ * 1664525u + 1013904223u;
    return state_ >> 8;
  }
  int Below(int n) { return static_cast<int>(Next() % static_cast<std::uint32_t>(n)); }

 private:
  std::uint32_t state_ = 12345;
};

// Kings on random squares and 2 to 24 other men; a quarter of the problems
// keep the white king on e1, as composers often do.
PositionBytes RandomPosition(Lcg& random) {
  constexpr std::uint8_t Men[] = {0x21, 0x22, 0x23, 0x24, 0x25, 0x2B, 0x2C, 0x2D, 0x2E, 0x2F};
  PositionBytes position = EmptyPositionBytes();
  const int whiteKing = random.Below(4) == 0 ? 60 : random.Below(64);
  position[whiteKing] = WhiteKing + PositionByteBias;
  int blackKing = random.Below(64);
  while (blackKing == whiteKing) blackKing = random.Below(64);
  position[blackKing] = BlackKing + PositionByteBias;
  const int others = 2 + random.Below(23);
  for (int placed = 0; placed < others;) {
    const int square = random.Below(64);
    if (position[square] != PositionByteBias) continue;
    position[square] = Men[random.Below(10)];
    ++placed;
  }
  return position;
}

class SearchCollections {
 public:
  SearchCollections() {
    char folder[] = "/tmp/kvl-search-bench-XXXXXX";
    folder_ = mkdtemp(folder);
    Lcg random;
    for (int f = 0; f < FileCount; ++f) {
      std::vector<std::uint8_t> none = {0xFF, 0xFF, 0, 0, 0};
      std::vector<std::uint8_t> bytes;
      Require(InsertRecordsInBytes(none, 0, RecordsPerFile, bytes), "blank records");
      ByteStore store = ByteStore::OnBuffer(bytes);
      CurrentProblem problem;
      problem.source = "Bench Review";
      for (int i = 0; i < RecordsPerFile; ++i) {
        problem.authors = "Composer, Number " + std::to_string(f * RecordsPerFile + i);
        problem.type.moves = static_cast<std::uint8_t>(2 + i % 4);
        Require(WriteProblemRecord(store, i, problem, RandomPosition(random)), "a problem");
      }
      const std::string path = folder_ + "/set" + std::to_string(f) + ".kvl";
      std::FILE* out = std::fopen(path.c_str(), "wb");
      std::fwrite(bytes.data(), 1, bytes.size(), out);
      std::fclose(out);
      files_.push_back(path);
    }
  }
  ~SearchCollections() {
    for (const std::string& path : files_) unlink(path.c_str());
    rmdir(folder_.c_str());
  }
  const std::vector<std::string>& files() const { return files_; }

 private:
  std::string folder_;
  std::vector<std::string> files_;
};

const SearchCollections& Collections() {
  static const SearchCollections collections;
  return collections;
}

Board BoardOf(const char* forsyth) {
  Board board;
  board.fill(OffBoard);
  ForsythToBoard(forsyth, board);
  return board;
}

void RunBench(benchmark::State& state, SearchCriteria criteria, const Board& board) {
  const std::vector<std::string>& files = Collections().files();
  ProblemList list;
  int found = 0;
  for (auto _ : state) {
    found = SearchFiles(criteria, board, files, list, UiCallbacks{}).found;
    benchmark::DoNotOptimize(found);
  }
  state.counters["found"] = found;
  state.SetItemsProcessed(state.iterations() * FileCount * RecordsPerFile);
}

// At least 10 men and a white king on e1.
void BM_SearchMaterialAndMatrix(benchmark::State& state) {
  SearchCriteria criteria;
  criteria.total = {MaterialAtLeast, 10};
  criteria.matrixFlags = MatrixIdentity;
  RunBench(state, criteria, BoardOf("8/8/8/8/8/8/8/4K3"));
}
BENCHMARK(BM_SearchMaterialAndMatrix)->Unit(benchmark::kMillisecond);

// A king and a rook three files apart anywhere, in every orientation.
void BM_SearchShiftedMatrixAllOrientations(benchmark::State& state) {
  SearchCriteria criteria;
  criteria.matrixFlags = MatrixGap | MatrixSymmetry | MatrixRotation;
  RunBench(state, criteria, BoardOf("8/8/8/8/8/8/8/4K2R"));
}
BENCHMARK(BM_SearchShiftedMatrixAllOrientations)->Unit(benchmark::kMillisecond);

// An author substring: one string read per record.
void BM_SearchAuthorText(benchmark::State& state) {
  SearchCriteria criteria;
  criteria.text = "Number 9999";
  RunBench(state, criteria, BoardOf("8/8/8/8/8/8/8/8"));
}
BENCHMARK(BM_SearchAuthorText)->Unit(benchmark::kMillisecond);

}  // namespace
