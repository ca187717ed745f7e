// The backward helpmate walk: it answers as the plain walk does, position by
// position, and the helpmate texts are the same with it on and off, on one
// thread and two, with a full table and one of a few slots.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "core/rules.h"
#include "help_walks.h"
#include "search_fixture.h"
#include "solver/help_backward.h"
#include "solver/help_fast.h"

namespace kv {
namespace {

using test::Helpmate;
using test::SearchWorld;

// Every helpmate of the checked set, of the deep set and of the bench suite
// (under the sanitizers, only those the plain search solves at once).
std::vector<Helpmate> EveryHelpmate() {
  std::vector<Helpmate> rows;
  std::set<std::string> ids;
  const auto add = [&](const std::vector<Helpmate>& more) {
    for (const Helpmate& row : more) {
#ifndef NDEBUG
      const bool quick =
          row.stipulation.rfind("h#2", 0) == 0 || (row.plainSeconds > 0 && row.plainSeconds <= 0.2);
      if (!quick) continue;
#endif
      if (ids.insert(row.id).second) rows.push_back(row);
    }
  };
  add(test::ReadHelpmates("search_problems.tsv"));
  add(test::ReadHelpmates("helpmates-deep.tsv"));
  add(test::ReadHelpmates("suite.tsv", "bench/problems/"));
  return rows;
}

TEST(BackwardHelpmate, TextsAreTheSameWithTheBackwardWalkOnAndOff) {
  const std::vector<Helpmate> rows = EveryHelpmate();
#ifdef NDEBUG
  EXPECT_EQ(rows.size(), 80u);
#else
  EXPECT_EQ(rows.size(), 13u);
#endif
  constexpr std::size_t kTinyTable = 4;
  for (const Helpmate& row : rows) {
    test::HelpSolveSetup setup;
    setup.backward = false;
    const std::string plain = test::SolveText(row, setup);
    EXPECT_NE(plain.find('#'), std::string::npos) << row.id;
    setup.backward = true;
    for (const int threads : {1, 2}) {
      for (const std::size_t slots : {DefaultHelpTableSlots, kTinyTable}) {
        setup.threads = threads;
        setup.tableSlots = slots;
        EXPECT_EQ(test::SolveText(row, setup), plain)
            << row.id << ", " << threads << " thread(s), " << slots << " slots";
      }
    }
  }
}

}  // namespace
}  // namespace kv
