// The fast helpmate search: its answers against a plain walk without a
// table (also with a table so small that every store replaces another
// position), and the helpmate texts with the fast search on and off.
#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <limits>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "core/fen.h"
#include "core/rules.h"
#include "core/tables.h"
#include "help_walks.h"
#include "search_fixture.h"
#include "solver/help_fast.h"
#include "solver/problem_type.h"
#include "solver/solve_driver.h"
#include "solver/solve_options_logic.h"
#include "solver/zeroed_words.h"

namespace kv {
namespace {

using test::SearchWorld;
using namespace test;

// Every position after one black move and, below it, after one more pair of
// moves: the fast search's answer for one and two white moves left (asked
// in both orders, so that the table's "within" bounds are exercised) against
// the plain walk. Returns the number of positions compared.
int CompareWithPlainWalk(const std::string& fen, std::size_t tableSlots) {
  SearchWorld world(fen);
  Position& pos = world.pos;
  HelpFast& fast = world.state->helpFast;
  fast.table.Resize(tableSlots);
  int compared = 0;
  VisitBlackWhiteBlack(
      pos, std::numeric_limits<int>::max(), 2, [&](const Move& last, int, const std::string& line) {
        const int one = PlainHelpMate(pos, last, 1);
        const int two = PlainHelpMate(pos, last, 2);
        EXPECT_EQ(HelpMateWithin(fast, pos, last, 2), two) << fen << " after " << line;
        EXPECT_EQ(HelpMateWithin(fast, pos, last, 1), one) << fen << " after " << line;
        EXPECT_EQ(HelpMateWithin(fast, pos, last, 2), two) << fen << " after " << line;
        ++compared;
      });
  return compared;
}

TEST(FastHelpmate, AnswersAsThePlainWalkWithLargeAndTinyTables) {
  // A queen promotion, a castling line and a checking knight.
  int compared = 0;
  // Then three with White's king, knights and pawns alone, whose flights
  // White often cannot cover.
  for (const char* id : {"hm_ex54", "hm_castling_6a", "hm_ex59", "hm_ex1b", "hm_ex98", "hm_ex35"}) {
    for (const Helpmate& row : ReadHelpmates("helpmates-deep.tsv")) {
      if (row.id != id) continue;
      compared += CompareWithPlainWalk(row.fen, DefaultHelpTableSlots);
      compared += CompareWithPlainWalk(row.fen, 8);
    }
  }
  EXPECT_GT(compared, 300);
}

// Problems with few white men, and one with a rook and a bishop.
const char* const kCutProblems[] = {"hm_ex1b", "hm_ex98", "hm_ex35", "hm_ex3b", "hm_ex13b"};

TEST(FastHelpmate, ABlackMovePassedOverLeavesWhiteNoCheck) {
  int cut = 0;
  for (const char* id : kCutProblems) {
    SearchWorld world(DiagramOf(id));
    Position& pos = world.pos;
    VisitPositions(pos, Move{}, false, 2, [&](const Move&, bool whiteToMove) {
      if (whiteToMove) return;
      std::uint64_t from = 0;
      std::uint64_t to = 0;
      LastBlackMoveSquares(pos, from, to);
      if (from == ~std::uint64_t{0}) return;
      MoveList black;
      GenerateBlackMoves(pos, 0, 0, black);
      for (int i = 0; black.moves[i].from != 0; ++i) {
        const Move b = black.moves[i];
        if (b.moved == BlackKing || b.captured != Empty || b.to - b.from == 20) continue;
        if ((from & SquareBit[b.from]) != 0 || (to & SquareBit[b.to]) != 0) continue;
        ++cut;
        MakeMove(pos, b);
        MoveList white;
        GenerateWhiteMoves(pos, b.from, b.to, white);
        for (int j = 0; white.moves[j].from != 0; ++j) {
          // The mate test's count of the checks the move gives.
          pos.probeMove = white.moves[j];
          EXPECT_EQ(TestMateMove(pos), 0)
              << id << ": " << test::LongText(b) << " " << test::LongText(white.moves[j]);
        }
        UnmakeMove(pos, b);
      }
    });
  }
  EXPECT_GT(cut, 1000);
}

TEST(FastHelpmate, AFlightWhiteCannotCoverStaysFree) {
  int proved = 0;
  for (const char* id : kCutProblems) {
    SearchWorld world(DiagramOf(id));
    Position& pos = world.pos;
    VisitPositions(pos, Move{}, false, 3, [&](const Move& last, bool whiteToMove) {
      if (!whiteToMove) return;
      const std::uint64_t flights = UncoverableFlights(pos);
      if (flights == 0) return;
      ++proved;
      EXPECT_NE(FindMateInOne(pos, last.from, last.to), 1) << id;
      MoveList white;
      GenerateWhiteMoves(pos, last.from, last.to, white);
      for (int j = 0; white.moves[j].from != 0; ++j) {
        MakeMove(pos, white.moves[j]);
        for (int square = FirstSquare; square <= LastSquare; ++square) {
          if (IsSquare(square) && (flights & SquareBit[square]) != 0) {
            EXPECT_EQ(AttackedByWhite(pos, square), 0)
                << id << " " << test::LongText(white.moves[j]);
          }
        }
        UnmakeMove(pos, white.moves[j]);
      }
    });
  }
  EXPECT_GT(proved, 100);
}

TEST(FastHelpmate, APawnPromotingOnTheKingsFileMayCheckThroughItsOwnSquare) {
  // White to move: after Kg7-f6 and Qc6-c5, d7-d8=Q mates along the d-file
  // the pawn leaves; Black's last move must not be passed over as one after
  // which White cannot check. The second mates the same way.
  for (const char* fen : {"8/2pP2K1/2qk4/8/8/8/8/7B", "7q/3P4/3k2pb/3P4/K7/8/8/3N4"}) {
    SearchWorld world(fen);
    for (const bool backward : {false, true}) {
      HelpFast fast;
      fast.backwardEnabled = backward;
      EXPECT_EQ(PlainHelpMate(world.pos, Move{}, 2), HelpMate) << fen;
      EXPECT_EQ(HelpMateWithin(fast, world.pos, Move{}, 2), HelpMate) << fen << " " << backward;
    }
  }
}

TEST(FastHelpmate, TableKeepsTheBoundsItWasGiven) {
  HelpTable table(16);
  EXPECT_EQ(table.Slots(), 16u);
  const std::uint64_t key = 0x1234567890ABCDEFull;
  EXPECT_EQ(table.Find(key, 3), HelpTable::Known::Nothing);
  table.Store(key, 2, false);
  EXPECT_EQ(table.Find(key, 1), HelpTable::Known::NoMate);
  EXPECT_EQ(table.Find(key, 2), HelpTable::Known::NoMate);
  EXPECT_EQ(table.Find(key, 3), HelpTable::Known::Nothing);
  table.Store(key, 4, true);
  EXPECT_EQ(table.Find(key, 2), HelpTable::Known::NoMate);
  EXPECT_EQ(table.Find(key, 3), HelpTable::Known::Nothing);
  EXPECT_EQ(table.Find(key, 5), HelpTable::Known::Mate);
  table.Store(key, 3, true);
  EXPECT_EQ(table.Find(key, 3), HelpTable::Known::Mate);
  // Another position of the same pair of slots, worth fewer moves, takes
  // the pair's other slot: the deeper answer stays.
  table.Store(key + 16, 1, false);
  EXPECT_EQ(table.Find(key, 3), HelpTable::Known::Mate);
  EXPECT_EQ(table.Find(key + 16, 1), HelpTable::Known::NoMate);
  // A third one replaces the newer of the two.
  table.Store(key + 32, 1, false);
  EXPECT_EQ(table.Find(key + 16, 1), HelpTable::Known::Nothing);
  EXPECT_EQ(table.Find(key + 32, 1), HelpTable::Known::NoMate);
  EXPECT_EQ(table.Find(key, 3), HelpTable::Known::Mate);
  // One worth as many moves as the deepest replaces it.
  table.Store(key + 48, 3, false);
  EXPECT_EQ(table.Find(key, 3), HelpTable::Known::Nothing);
  EXPECT_EQ(table.Find(key + 48, 3), HelpTable::Known::NoMate);
  // In the next search the deepest answer of the last gives way to a new
  // one, whatever it is worth; what the last search found stays true.
  table.BeginSearch();
  EXPECT_EQ(table.Find(key + 48, 3), HelpTable::Known::NoMate);
  table.Store(key + 64, 1, false);
  EXPECT_EQ(table.Find(key + 48, 3), HelpTable::Known::Nothing);
  EXPECT_EQ(table.Find(key + 64, 1), HelpTable::Known::NoMate);
  EXPECT_EQ(table.Find(key + 32, 1), HelpTable::Known::NoMate);
  table.StoreIllegal(key);
  EXPECT_EQ(table.Find(key, 6), HelpTable::Known::Illegal);
  EXPECT_EQ(table.Find(key + 64, 1), HelpTable::Known::NoMate);
  table.Clear();
  EXPECT_EQ(table.Find(key, 6), HelpTable::Known::Nothing);
}

TEST(FastHelpmate, OnlyDeepSearchesGrowTheTableAndASizedTableIsKept) {
  HelpFast mates;
  mates.PrepareTable(DeepHelpMateMoves - 1, Goal::Mate);
  EXPECT_EQ(mates.table.Slots(), DefaultHelpTableSlots);
  mates.PrepareTable(DeepHelpMateMoves, Goal::Mate);
  EXPECT_EQ(mates.table.Slots(), DeepHelpTableSlots);
  // The grown table starts empty and keeps answers in its far slots too.
  const std::uint64_t far = DeepHelpTableSlots - 1;
  EXPECT_EQ(mates.table.Find(far, 3), HelpTable::Known::Nothing);
  mates.table.Store(far, 3, true);
  EXPECT_EQ(mates.table.Find(far, 3), HelpTable::Known::Mate);
  EXPECT_EQ(mates.table.Find(far - DefaultHelpTableSlots, 3), HelpTable::Known::Nothing);

  HelpFast stalemates;
  stalemates.PrepareTable(DeepHelpStalemateMoves - 1, Goal::Stalemate);
  EXPECT_EQ(stalemates.table.Slots(), DefaultHelpTableSlots);
  stalemates.PrepareTable(DeepHelpStalemateMoves, Goal::Stalemate);
  EXPECT_EQ(stalemates.table.Slots(), DeepHelpTableSlots);

  // The tests and the bench size the table to see the search work with it.
  HelpFast tiny;
  tiny.table.Resize(64);
  tiny.PrepareTable(9, Goal::Mate);
  EXPECT_EQ(tiny.table.Slots(), 64u);
}

TEST(FastHelpmate, ZeroedWordsReadZeroUntilWrittenAndMoveWhole) {
  ZeroedWords words(std::size_t{1} << 20, false);
  ASSERT_EQ(words.size(), std::size_t{1} << 20);
  EXPECT_EQ(words[0], 0u);
  EXPECT_EQ(words[words.size() - 1], 0u);
  words[12345] = 7;
  ZeroedWords moved(std::move(words));
  EXPECT_TRUE(words.empty());  // NOLINT(bugprone-use-after-move): the moved-from state is asked
  EXPECT_EQ(moved[12345], 7u);
  moved.Clear();
  EXPECT_EQ(moved[12345], 0u);
  EXPECT_TRUE(ZeroedWords(0, true).empty());
  ZeroedWords touched(4096, true);
  EXPECT_EQ(touched[4095], 0u);
}

// The deep tables' size: mapped on their own, on a large page boundary
// (where the system maps pages of 2 MB), and given back whole when one
// replaces another.
TEST(FastHelpmate, LargeZeroedWordsStartOnALargePageAndGoBackWhole) {
  constexpr std::size_t Count = (std::size_t{32} << 20) / sizeof(std::uint64_t);
  ZeroedWords large(Count, false);
  ASSERT_EQ(large.size(), Count);
#if defined(__linux__)
  EXPECT_EQ(reinterpret_cast<std::uintptr_t>(&large[0]) % (std::size_t{2} << 20), 0u);
#endif
  EXPECT_EQ(large[0], 0u);
  EXPECT_EQ(large[Count / 2 + 3], 0u);
  EXPECT_EQ(large[Count - 1], 0u);
  large[Count - 1] = 9;
  ZeroedWords other(Count, true);
  EXPECT_EQ(other[Count - 1], 0u);
  other = std::move(large);
  EXPECT_EQ(other[Count - 1], 9u);
  other.Clear();
  EXPECT_EQ(other[Count - 1], 0u);
}

TEST(FastHelpmate, TwoThreadsSharingATableReadOnlyWhatWasTrue) {
  // Each key has a fixed shortest helpmate (1..6 moves, or none): whatever
  // two threads store at once in a few slots, a reader sees only facts.
  HelpTable table(8);
  const auto shortest = [](std::uint64_t key) { return static_cast<int>(key % 7); };  // 0: none
  std::atomic<int> wrong{0};
  const auto hammer = [&](std::uint64_t seed) {
    std::uint64_t x = seed;
    for (int i = 0; i < 200000; ++i) {
      x = x * 6364136223846793005ull + 1442695040888963407ull;
      const std::uint64_t key = (x >> 20) | 1;
      const int moves = 1 + static_cast<int>((x >> 8) % 6);
      const int mate = shortest(key);
      table.Store(key, moves, mate != 0 && mate <= moves);
      const HelpTable::Known known = table.Find(key ^ (x & 0x30), moves);
      const int asked = shortest(key ^ (x & 0x30));
      if (known == HelpTable::Known::Mate && (asked == 0 || asked > moves)) ++wrong;
      if (known == HelpTable::Known::NoMate && asked != 0 && asked <= moves) ++wrong;
      if (known == HelpTable::Known::Illegal) ++wrong;
    }
  };
  std::thread other(hammer, 12345);
  hammer(67890);
  other.join();
  EXPECT_EQ(wrong.load(), 0);
}

TEST(FastHelpmate, AWalkTheUserStopsLeavesNoWrongAnswer) {
  // White to move in a three-mover's diagram: tens of thousands of positions
  // within three moves for the plain walk, thousands for the backward one in
  // a problem with more targets, so each walk is stopped at its first poll.
  for (const bool backward : {false, true}) {
    SearchWorld world(DiagramOf(backward ? "hm_ex81a" : "hm_ex13b"));
    world.state->helpFast.backwardEnabled = backward;
    bool stop = true;
    world.ui.breakPoll = [&stop] { return stop; };
    const Move none{};
    EXPECT_EQ(FastHelpVerdict(world.ctx, none, 3), HelpMate) << backward;  // "search it"
    EXPECT_EQ(world.state->userBreak, 1) << backward;
    // Asked again without the break, the answer is that of a walk that was
    // never stopped: what the stopped walk stored was complete.
    stop = false;
    world.state->userBreak = 0;
    HelpFast fresh;
    fresh.backwardEnabled = false;
    for (int moves = 1; moves <= 3; ++moves)
      EXPECT_EQ(FastHelpVerdict(world.ctx, none, moves),
                HelpMateWithin(fresh, world.pos, none, moves))
          << backward << " " << moves;
  }
}

std::string SolveText(const Helpmate& row, bool setPlay, bool fast, std::size_t tableSlots,
                      int threads = 1) {
  HelpSolveSetup setup;
  setup.setPlay = setPlay;
  setup.fast = fast;
  setup.tableSlots = tableSlots;
  setup.threads = threads;
  return test::SolveText(row, setup);
}

// The helpmates whose search without the fast search stays quick enough:
// every one of the checked set, and the deep ones by the independent
// solver's plain time (under the sanitizers only the quickest).
std::vector<Helpmate> ComparedHelpmates() {
#ifdef NDEBUG
  constexpr double kPlainSecondsLimit = 0.5;
#else
  constexpr double kPlainSecondsLimit = 0.2;
#endif
  std::vector<Helpmate> rows;
  for (const Helpmate& row : ReadHelpmates("search_problems.tsv")) {
#ifndef NDEBUG
    // Without optimisation the three-movers of the set take seconds each.
    if (row.stipulation.rfind("h#2", 0) != 0) continue;
#endif
    rows.push_back(row);
  }
  for (const Helpmate& row : ReadHelpmates("helpmates-deep.tsv"))
    if (row.plainSeconds <= kPlainSecondsLimit) rows.push_back(row);
  return rows;
}

TEST(FastHelpmate, TextsAreTheSameWithTheFastSearchOnAndOff) {
  const std::vector<Helpmate> rows = ComparedHelpmates();
#ifdef NDEBUG
  EXPECT_EQ(rows.size(), 13u);
#else
  EXPECT_EQ(rows.size(), 7u);
#endif
  for (const Helpmate& row : rows) {
    for (const bool setPlay : {true, false}) {
      const std::string plain = SolveText(row, setPlay, false, DefaultHelpTableSlots);
      EXPECT_NE(plain.find('#'), std::string::npos) << row.id;
      EXPECT_EQ(SolveText(row, setPlay, true, DefaultHelpTableSlots), plain)
          << row.id << (setPlay ? " with set play" : "");
      // A table of a few slots answers little and replaces all the time;
      // a helper thread fills the table from the other end.
      if (setPlay) {
        EXPECT_EQ(SolveText(row, setPlay, true, 4), plain) << row.id << " with a tiny table";
        EXPECT_EQ(SolveText(row, setPlay, true, DefaultHelpTableSlots, 2), plain)
            << row.id << " with two threads";
      } else {
        EXPECT_EQ(SolveText(row, setPlay, true, 16, 2), plain)
            << row.id << " with two threads and a small table";
      }
    }
  }
}

}  // namespace
}  // namespace kv
