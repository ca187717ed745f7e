// Speed of an import: a PGN file of 2001 problem games (tags, FEN and a
// movetext of several lines each) imported into a new collection, and into a
// collection that already holds 5000 problems. Each run reads the source,
// writes the collection once (flushed to disk) and loads its first record.
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "collections/import_pgn.h"
#include "collections/import_target.h"

namespace {

using namespace kv;

// A benchmark over a collection that could not be built would time nothing:
// stop with the reason instead.
void Require(const FileResult& result, const char* what) {
  if (result) return;
  std::fprintf(stderr, "%s: %s\n", what, result.detail.c_str());
  exit(1);
}

constexpr int Games = MaxImportedProblems;

std::string GameText(int number) {
  std::string game = "[Event \"Bench tourney " + std::to_string(number) + "\"]\n";
  game += "[Site \"?\"]\n[Date \"1999.??.??\"]\n[Round \"-\"]\n";
  game += "[White \"Composer, Number " + std::to_string(number) + "\"]\n";
  game += "[Black \"#3\"]\n[Result \"1-0\"]\n[SetUp \"1\"]\n";
  game += "[FEN \"r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1\"]\n\n";
  game += "1. Qf3-f6! {threat: 2. Qf6xg7} Be7-f8 2. Ne5-c6 {and mate next move}\n";
  game += "( 1... d7-d6 2. Ne5xf7 Kf8 3. Qf6xf7# )\n";
  game += "( 1... Bg7xf6 2. Ne5-g4 Nf6xg4 3. Nc3-b5# ) 1-0\n\n";
  return game;
}

class ImportFiles {
 public:
  ImportFiles() {
    char folder[] = "/tmp/kvl-import-bench-XXXXXX";
    folder_ = mkdtemp(folder);
    source_ = folder_ + "/games.pgn";
    std::string text;
    for (int i = 1; i <= Games; ++i) text += GameText(i);
    Write(source_, std::vector<std::uint8_t>(text.begin(), text.end()));
    // A collection of 5000 problems to import into.
    std::vector<ImportedProblem> problems(5000);
    for (std::size_t i = 0; i < problems.size(); ++i) {
      problems[i].problem.authors = "Composer, Number " + std::to_string(i);
      problems[i].problem.solutionText = GameText(static_cast<int>(i));
      problems[i].position = EmptyPositionBytes();
    }
    int first = -1;
    Require(AppendImportedBytes({}, problems, existing_, first), "the collection to import into");
  }
  ~ImportFiles() {
    unlink(source_.c_str());
    unlink(Target().c_str());
    rmdir(folder_.c_str());
  }
  const std::string& source() const { return source_; }
  std::string Target() const { return folder_ + "/games.kvl"; }
  // Puts the target back as it is before a run: missing or the 5000 problems.
  void ResetTarget(bool withProblems) const {
    unlink(Target().c_str());
    if (withProblems) Write(Target(), existing_);
  }

 private:
  static void Write(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::FILE* out = std::fopen(path.c_str(), "wb");
    std::fwrite(bytes.data(), 1, bytes.size(), out);
    std::fclose(out);
  }

  std::string folder_;
  std::string source_;
  std::vector<std::uint8_t> existing_;
};

const ImportFiles& Files() {
  static const ImportFiles files;
  return files;
}

// Arg 0: into a new collection; 1: after 5000 problems.
void BM_ImportPgn2001Games(benchmark::State& state) {
  const ImportFiles& files = Files();
  const bool existing = state.range(0) != 0;
  for (auto _ : state) {
    state.PauseTiming();
    files.ResetTarget(existing);
    state.ResumeTiming();
    CollectionState collection{files.source(), 0, -1};
    CurrentProblem problem;
    Board board{};
    const Language language;
    const UiCallbacks ui;
    ImportEnv env{collection, problem, board, language, ui};
    const ImportResult result = ImportPgn(env);
    if (!result.ok() || result.imported != Games) state.SkipWithError("import failed");
  }
  state.SetItemsProcessed(state.iterations() * Games);
}
BENCHMARK(BM_ImportPgn2001Games)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
