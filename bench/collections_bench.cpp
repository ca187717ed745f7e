// Speed of the collection file: a scan of every record's type and position
// bytes in a full file of 32768 problems (what the position and type search
// reads), loading one problem, and saving one with in-place texts.
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "collections/forsyth.h"
#include "collections/kvl_format.h"
#include "collections/problem_file.h"

namespace {

using namespace kv;

// A benchmark over a collection that could not be built would time nothing:
// stop with the reason instead.
void Require(const FileResult& result, const char* what) {
  if (result) return;
  std::fprintf(stderr, "%s: %s\n", what, result.detail.c_str());
  exit(1);
}

// A collection of 32768 problems with texts, built once in a scratch folder.
class FullCollection {
 public:
  FullCollection() {
    char folder[] = "/tmp/kvl-bench-XXXXXX";
    folder_ = mkdtemp(folder);
    path_ = folder_ + "/full.kvl";
    std::vector<std::uint8_t> bytes(HeaderSize + HeapStringOverhead, 0);
    bytes[0] = bytes[1] = 0xFF;  // no record yet
    std::vector<std::uint8_t> grown;
    Require(InsertRecordsInBytes(bytes, 0, MaxRecords, grown), "blank records");
    ByteStore store = ByteStore::OnBuffer(grown);
    Board board{};
    ForsythToBoard("4k3/8/8/3Q4/8/8/8/4K3", board);
    CurrentProblem problem;
    problem.source = "The Problemist";
    problem.comment = "bench";
    for (int i = 0; i < MaxRecords; ++i) {
      problem.authors = "Composer, Number " + std::to_string(i);
      problem.type.moves = static_cast<std::uint8_t>(2 + i % 4);
      Require(WriteProblemRecord(store, i, problem, BoardToPositionBytes(board)), "a problem");
    }
    std::FILE* out = std::fopen(path_.c_str(), "wb");
    std::fwrite(grown.data(), 1, grown.size(), out);
    std::fclose(out);
  }
  ~FullCollection() {
    unlink(path_.c_str());
    rmdir(folder_.c_str());
  }
  const std::string& path() const { return path_; }

 private:
  std::string folder_;
  std::string path_;
};

const FullCollection& Collection() {
  static const FullCollection collection;
  return collection;
}

// Open the file, then the type and the 64 position bytes of every record,
// record by record (one read each) or in pieces of 1024 records.
void BM_ScanTypesAndPositions(benchmark::State& state) {
  const std::string& path = Collection().path();
  const int piece = static_cast<int>(state.range(0));
  std::vector<RecordHead> heads(static_cast<std::size_t>(piece));
  for (auto _ : state) {
    CollectionReader reader;
    if (!reader.Open(path)) state.SkipWithError("cannot open");
    int sum = 0;
    for (int first = 0; first <= reader.lastIndex(); first += piece) {
      const int count = std::min(piece, reader.lastIndex() + 1 - first);
      if (!reader.ReadHeads(first, count, heads.data())) state.SkipWithError("cannot read");
      for (int i = 0; i < count; ++i) {
        sum += heads[i].Type().moves + (heads[i].position[27] != 0x20);
      }
    }
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * MaxRecords);
}
BENCHMARK(BM_ScanTypesAndPositions)->Arg(1)->Arg(1024)->Unit(benchmark::kMillisecond);

void BM_LoadProblem(benchmark::State& state) {
  CollectionState collection{Collection().path(), MaxRecords / 2, -1};
  CurrentProblem problem;
  Board board{};
  for (auto _ : state) {
    if (!LoadProblem(collection, problem, board)) state.SkipWithError("cannot load");
  }
}
BENCHMARK(BM_LoadProblem)->Unit(benchmark::kMicrosecond);

void BM_SaveProblemInPlace(benchmark::State& state) {
  CollectionState collection{Collection().path(), MaxRecords / 2, -1};
  CurrentProblem problem;
  Board board{};
  Require(LoadProblem(collection, problem, board), "the problem to save");
  for (auto _ : state) {
    problem.infoModified = true;
    if (!SaveProblem(collection, problem, board)) state.SkipWithError("cannot save");
  }
}
BENCHMARK(BM_SaveProblemInPlace)->Unit(benchmark::kMicrosecond);

}  // namespace
