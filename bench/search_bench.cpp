// Speed of the search engine on the published problems of the checked set:
// for battle play the key search with tries and the analysis of the set
// play, the tries and the keys down to the last level; for helpmates the
// analysis of the null move down to the mates. Each benchmark is one
// problem; the label is its stipulation.
#include <memory>
#include <string>

#include <benchmark/benchmark.h>

#include "core/fen.h"
#include "core/rules.h"
#include "core/validation.h"
#include "solver/search.h"

namespace {

using namespace kv;

struct BenchProblem {
  const char* id;
  const char* stipulation;
  const char* fen;
};

// id, stipulation, board (tests/solver/data/search_problems.tsv has the
// authors, sources and the checked answers).
constexpr BenchProblem kProblems[] = {
    {"dm2_planck1884", "#2", "8/2pN4/2n5/1N1p2b1/4k3/7K/3P4/5Q2"},
    {"dm2_howard1926", "#2", "1b3B2/2N2b2/3n4/2Q5/rp3K2/k2N4/1pP5/1B6"},
    {"dm2_bettmann1901", "#2", "5Q2/2pbpN2/3p4/8/3kP1R1/2R5/1K6/6b1"},
    {"dm2_touw1984", "#2", "1QK5/3B4/3N4/1R1Pk3/4Np1R/4Pq2/8/8"},
    {"dm2_buchwald1946", "#2", "3Q1b2/7b/3npN2/2p5/2P2P1R/2P1k3/1N6/3BK3"},
    {"dm2_volf1905", "#2", "8/K1pr4/2B2P2/p2R2B1/4k2N/6p1/qp1p1rP1/7Q"},
    {"dm2_goldschmeding1992", "#2", "2N5/1q5B/3p3r/R2Pk2p/2Q1Np1B/2pp1R2/1b2b2K/8"},
    {"dm2_forster2007a", "#2", "8/7p/1N1Qbp1B/6nR/4kN2/2Pp2K1/2np4/8"},
    {"dm2_forster2007b", "#2", "8/2N2qPQ/4R1p1/1R1BNk1p/K2p1p1B/3P1p2/1p2r1P1/8"},
    {"dm2_kubbel1940", "#2", "8/7Q/8/8/6p1/6N1/6kP/4K2R"},
    {"dm2_szoghy1935", "#2", "2B5/7q/pR2pr1n/K1N1k2P/2PR2b1/2P2rn1/3B3N/1Q6"},
    {"dm2_ahues1983", "#2", "6R1/b1NN4/1p5K/1B1P4/3kp3/1R1pn3/6b1/1n4Q1"},
    {"dm2_prins1985", "#2", "3br3/Q4Rp1/1nNp2K1/R6N/3r2kB/6P1/B5P1/8"},
    {"dm2_tura1962", "#2", "2B1N1q1/2N1Pb2/1pP3rn/b3k1p1/r2p2R1/BR1p2K1/5Q2/8"},
    {"dm2_mansfield1962", "#2", "8/4p2K/3P4/5kP1/2R1Np2/1B3Q2/8/8"},
    {"dm2_reeves1962", "#2", "1r2NbK1/8/6R1/2n1p3/1Qp1k1P1/2P1N1p1/q1P1BrP1/2B1R3"},
    {"dm2_macleod1962", "#2", "5kNK/3pRp2/r5pp/1n2NB2/5R2/7q/p2rp3/1b5Q"},
    {"dm3_giegold1932", "#3", "K7/1Q6/3pk2p/2pR4/1N6/8/6P1/8"},
    {"dm3_wurzburg1941", "#3", "8/P7/8/5R2/4p3/8/2K1kB2/8"},
    {"dm3_johandl1967", "#3", "8/8/3N3n/3p4/3N4/n1B1k1K1/8/5B2"},
    {"dm3_kraemer1943", "#3", "k7/2RN4/8/1p2B3/np6/1Kb5/Qn6/8"},
    {"dm3_loyd1903", "#3", "4r1b1/1p4B1/pN2pR2/RB2k3/1P2N2p/2p3b1/n2P1p1r/5K1n"},
    {"dm3_shmatov2012", "#3", "8/7p/8/4p2K/5kPP/1Q4N1/8/8"},
    {"dm3_howard2008", "#3", "B7/8/7Q/4k3/KNp5/8/5P2/8"},
    {"dm3_turnbull1996", "#3", "7B/8/2B5/8/1p2pp2/kb5Q/7K/8"},
    {"dm3_spare1993", "#3", "7k/5Q2/8/6p1/8/7P/8/1n2K2R"},
    {"dm3_ivanov1957", "#3", "8/7B/1N6/ppB1p3/8/Pk6/8/R3K3"},
    {"dm4_ivanov1963", "#4", "8/8/7P/8/8/5K1p/7k/8"},
    {"dm4_speckmann1967", "#4", "8/4Q3/2k5/5B2/pK6/1p6/8/7b"},
    {"dm5_zakhodyakin", "#5", "8/8/8/p7/8/8/4RKR1/kb6"},
    {"hm2_forsberg1935", "h#2", "8/8/q7/8/1R4K1/k2N4/8/8"},
    {"hm2_garai1989", "h#2", "4R3/8/Q7/1B1p4/2bpR3/P2kr3/6K1/6b1"},
    {"hm2_feather1975", "h#2", "1RrB2b1/8/4n3/2n3p1/2K2b2/1p1rk3/6BR/8"},
    {"hm2_muller2009", "h#2", "8/8/Kp3p2/p1B1pP2/1r1NPpq1/1rk2p2/1p1p4/1B6"},
    {"hm3_weenink2010", "h#3", "3q4/3b4/8/bPpk2p1/1p6/rppK3p/6p1/6NR"},
    {"hm3_turner1995", "h#3", "q1b1n1K1/2P1P3/8/3k4/8/8/8/8"},
    {"hm3_jonsson2009", "h#3", "6K1/3R4/B7/4pp2/4p3/4P2p/3P2k1/1r6"},
    {"hm3_loyd1860", "h#3", "6R1/7q/8/5k2/5B2/8/5Kbb/8"},
    {"hm3w_abdurahmanovic2009", "h#3 W", "3b1q2/1r5p/K3k2r/n3B2p/4BP2/3P4/4R3/8"},
    {"sm2_argunow1999", "s#2", "2N2bBR/4P1k1/7p/2N2p1P/3p1P2/1PpP4/2Kp4/1n1R4"},
    {"sm3_jorgensen1952", "s#3", "2b2Knq/RP1BP1rr/7b/4p1p1/1N2k1P1/3n2P1/1pQPP3/NR4B1"},
    {"sm3_janevski2005", "s#3", "3B4/Np2pq2/2PkPp2/5Rp1/2BKp3/2rpP2Q/1brp4/7b"},
    {"sm3_janevski2009", "s#3", "8/RQ4p1/2NpBpP1/2k2Kp1/1Np3rr/B3p2b/qp1P2p1/1n6"},
    {"sm3_mladenovic2020", "s#3", "8/8/r2N3b/1R3PB1/1p3Q2/ppkP2R1/2p2ppq/2K2br1"},
    {"rm2_manolas2012", "r#2", "8/P1Nr3P/1PpR2rq/6p1/1pp2p2/1Nk5/2P5/1K1R4"},
};

struct World {
  Position pos{};
  SolveOptions options{};
  UiCallbacks ui{};
  Language language{};
  std::unique_ptr<SearchState> state = std::make_unique<SearchState>();
  SearchContext ctx{pos, options, ui, language, *state};
};

// Analyses the variations of level k one level deeper, as the driver does
// when it writes a solution.
void WalkVariations(World& world, int k) {
  if (k <= 2) return;
  const VariationRecords lines = world.state->VariationList(k);
  for (int i = 0; lines.records[i].reply.move.from != 0; ++i) {
    const Move reply = lines.records[i].reply.move;
    const Move answer = lines.records[i].continuation.move;
    MakeMove(world.pos, reply);
    MakeMove(world.pos, answer);
    AnalyseMove(world.ctx, k - 1, answer, world.state->helpMode != HelpMode::None);
    WalkVariations(world, k - 1);
    UnmakeMove(world.pos, answer);
    UnmakeMove(world.pos, reply);
  }
}

void AnalyseList(World& world, int n, const MoveRecords& moves, bool allRefutations) {
  const MoveRecords copy = moves;
  for (int i = 0; copy.records[i].from != 0; ++i) {
    const Move move = copy.records[i];
    MakeMove(world.pos, move);
    if (!AttackedByBlack(world.pos, world.pos.whiteKingSquare)) {
      AnalyseMove(world.ctx, n, move, allRefutations);
      WalkVariations(world, n);
    }
    UnmakeMove(world.pos, move);
  }
}

// One solve of a problem without the text: what the driver asks of the engine.
void SolveOnce(const BenchProblem& problem) {
  World world;
  ParseFenBoard(problem.fen, world.pos.board, nullptr);
  DerivePositionState(world.pos);
  SearchState& state = *world.state;
  const std::string stipulation = problem.stipulation;
  const bool help = stipulation[0] == 'h';
  const bool white = stipulation.size() > 3 && stipulation.back() == 'W';
  const int moves = stipulation[stipulation.find('#') + 1] - '0';
  if (help && !white) {
    state.helpMode = HelpMode::BlackBegins;
    const int n = moves + 1;
    state.topMoves = n;
    MakeMove(world.pos, NullMove);
    AnalyseMove(world.ctx, n, NullMove, true);
    WalkVariations(world, n);
    UnmakeMove(world.pos, NullMove);
    return;
  }
  int n = moves;
  TryLimit limit{1};
  if (help) {
    state.helpMode = HelpMode::WhiteBegins;
    limit = EveryReply;
  } else if (stipulation[0] == 's' || stipulation[0] == 'r') {
    state.selfMode = stipulation[0] == 's' ? SelfMode::Self : SelfMode::Reflex;
    n = moves + 1;
    limit = NoTries;
  }
  state.topMoves = n;
  MoveList* list = state.LevelList(n);
  const int found = n == 2 ? SearchMateInTwo(world.ctx, 0, 0, list, true, limit)
                           : SearchMateInN(world.ctx, n, 0, 0, list, true, limit);
  if (found <= 1) return;
  n = found;
  if (!help) {
    MoveRecords null{};
    null.records[0] = NullMove;
    null.records[1].from = 0;
    AnalyseList(world, n, null, true);
    if (limit.ListsTries()) {
      state.optionGroup = OptionGroup::Tries;
      AnalyseList(world, n, state.TryList(n), true);
      state.optionGroup = OptionGroup::Play;
    }
  }
  AnalyseList(world, n, state.KeyList(n), false);
}

void BM_Solve(benchmark::State& bench, const BenchProblem* problem) {
  for (auto _ : bench) SolveOnce(*problem);
  bench.SetLabel(problem->stipulation);
}

[[maybe_unused]] const bool kRegistered = [] {
  for (const BenchProblem& problem : kProblems)
    benchmark::RegisterBenchmark((std::string("Search/") + problem.id).c_str(), BM_Solve, &problem)
        ->Unit(benchmark::kMillisecond);
  return true;
}();

}  // namespace
