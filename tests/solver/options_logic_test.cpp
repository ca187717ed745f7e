#include <gtest/gtest.h>

#include "solver/problem_type.h"
#include "solver/solve_options.h"
#include "solver/solve_options_logic.h"

namespace kv {
namespace {

TEST(SwitchOptionsToKind, HelpmateAndBackRestoresDirectValuesAndKeepsGlobalOnes) {
  SolveOptions o;
  o[Option::SetPlay] = 0;
  o[Option::TryRefutations] = 3;
  o[Option::ShortNotation] = 0;
  o[Option::BlackMoveStyle] = 2;
  SwitchOptionsToKind(o, KindHelp);
  EXPECT_EQ(o[Option::Kind], KindHelp);
  EXPECT_EQ(o[Option::SetPlay], 1);  // built-in helpmate set
  EXPECT_EQ(o[Option::TryRefutations], 0);
  EXPECT_EQ(o[Option::ShortNotation], 0);
  EXPECT_EQ(o[Option::BlackMoveStyle], 2);
  SwitchOptionsToKind(o, KindDirect);
  EXPECT_EQ(o[Option::Kind], KindDirect);
  EXPECT_EQ(o[Option::SetPlay], 0);
  EXPECT_EQ(o[Option::TryRefutations], 3);
  EXPECT_EQ(o[Option::BlackMoveStyle], 2);
}

TEST(SwitchOptionsToKind, DoesNothingDuringTestPresetOrForSameKind) {
  SolveOptions o;
  auto before = o.values;
  SwitchOptionsToKind(o, KindDirect);
  EXPECT_EQ(o.values, before);
  o[Option::Kind] = TestMovePreset;
  before = o.values;
  SwitchOptionsToKind(o, KindSelf);
  EXPECT_EQ(o.values, before);
}

TEST(TestMovePreset, InstalledAndUndoneLeavingNotationAlone) {
  SolveOptions o;
  o[Option::CaptureSign] = 1;
  const auto before = o.values;
  const auto saved = BeginTestMove(o);
  EXPECT_EQ(o[Option::Kind], TestMovePreset);
  EXPECT_EQ(o[Option::SetPlay], 0);
  EXPECT_EQ(o[Option::ActualPlay], 0);
  EXPECT_EQ(o.Of(OptionGroup::Tries, Option::Variations), 1);
  EXPECT_EQ(o[Option::CaptureSign], 1);
  EndTestMove(o, saved);
  EXPECT_EQ(o.values, before);
}

TEST(ToggleActualPlay, TriesFollowTheActualPlay) {
  SolveOptions o;
  o[Option::TryRefutations] = 4;
  ToggleActualPlay(o);
  EXPECT_EQ(o[Option::ActualPlay], 0);
  EXPECT_EQ(o[Option::TryRefutations], 0);
  ToggleActualPlay(o);
  EXPECT_EQ(o[Option::ActualPlay], 1);
  EXPECT_EQ(o[Option::TryRefutations], 1);
}

TEST(OptionsDialog, VariationsBoxGatesItsThreeBoxesButKeepsValues) {
  SolveOptions o;
  OptionsDialog d = OpenOptionsDialog(o, KindDirect, OptionGroup::Play);
  OptionsDialogCommand(d, 143);
  EXPECT_FALSE(OptionsDialogChecked(d, 143));
  EXPECT_FALSE(OptionsDialogEnabled(d, 144));
  EXPECT_TRUE(OptionsDialogChecked(d, 144));
  // The tries group has its own variations value.
  OptionsDialogCommand(d, 402);
  EXPECT_TRUE(OptionsDialogChecked(d, 143));
  EXPECT_TRUE(OptionsDialogEnabled(d, 144));
  EXPECT_EQ(d.notationChanged, 1);
  EXPECT_EQ(d.searchChanged, 0);
}

TEST(OptionsDialog, TryEditSetsCountAndBox) {
  SolveOptions o;
  OptionsDialog d = OpenOptionsDialog(o, KindDirect, OptionGroup::Play);
  OptionsDialogEditTries(d, 0);
  EXPECT_FALSE(OptionsDialogChecked(d, 141));
  OptionsDialogEditTries(d, 3);
  EXPECT_TRUE(OptionsDialogChecked(d, 141));
  EXPECT_EQ(d.working[Option::TryRefutations], 3);
  OptionsDialogCommand(d, 141);
  EXPECT_EQ(d.working[Option::TryRefutations], 0);
  OptionsDialogCommand(d, 141);
  EXPECT_EQ(d.working[Option::TryRefutations], 1);
}

TEST(OptionsDialog, OkStoresKindSetCancelRestores) {
  SolveOptions o;
  OptionsDialog d = OpenOptionsDialog(o, KindSelf, OptionGroup::Play);
  OptionsDialogCommand(d, 140);
  OptionsDialogCommand(d, 302);
  OptionsDialogOk(d, o);
  EXPECT_EQ(o[Option::SetPlay], 0);
  EXPECT_EQ(o[Option::BlackMoveStyle], 1);
  EXPECT_EQ(o.perKind[KindSelf][IndexOf(Option::SetPlay)], 0);

  SolveOptions p;
  const auto before = p.values;
  OptionsDialog c = OpenOptionsDialog(p, KindDirect, OptionGroup::Play);
  OptionsDialogCommand(c, 152);
  OptionsDialogCancel(c, p);
  EXPECT_EQ(p.values, before);
  EXPECT_FALSE(RefreshAfterOptions(c, false));
}

TEST(OptionsDialog, RefreshOnlyForNotationChangesOfAnUnchangedPosition) {
  SolveOptions o;
  OptionsDialog d = OpenOptionsDialog(o, KindDirect, OptionGroup::Play);
  OptionsDialogCommand(d, 202);
  EXPECT_TRUE(RefreshAfterOptions(d, false));
  EXPECT_FALSE(RefreshAfterOptions(d, true));
  OptionsDialogCommand(d, 140);
  EXPECT_FALSE(RefreshAfterOptions(d, false));
}

TEST(OptionsDialog, HelpmateHidesTriesAndTestModeDisablesSearchBoxes) {
  SolveOptions o;
  OptionsDialog h = OpenOptionsDialog(o, KindHelp, OptionGroup::Play);
  EXPECT_FALSE(OptionsDialogVisible(h, 141));
  EXPECT_FALSE(OptionsDialogVisible(h, 402));
  EXPECT_TRUE(OptionsDialogVisible(h, 140));
  BeginTestMove(o);
  OptionsDialog t = OpenOptionsDialog(o, KindDirect, OptionGroup::Tries);
  EXPECT_FALSE(OptionsDialogEnabled(t, 140));
  EXPECT_FALSE(OptionsDialogEnabled(t, 147));
  EXPECT_TRUE(OptionsDialogChecked(t, 402));
}

TEST(TypeDialog, SearchCriterionWithoutKindStoresAnyKind) {
  ProblemType type;
  type.kind = KindSelf;
  TypeDialog d = OpenTypeDialog(type, 1);
  EXPECT_EQ(d.kindIndex, KindHelp);  // stored one higher in the criterion
  TypeDialogInitialise(d);
  EXPECT_TRUE(TypeDialogWhiteBeginsVisible(d));
  const ProblemType out = TypeDialogOk(d, type);
  EXPECT_EQ(out.kind, 0);
  EXPECT_EQ(out.moves, 0);
  EXPECT_EQ(out.flags, 0);
}

TEST(TypeDialog, WhiteBeginsOnlyForHelpmates) {
  ProblemType type;
  TypeDialog d = OpenTypeDialog(type, 0);
  EXPECT_FALSE(TypeDialogWhiteBeginsVisible(d));
  d.kindIndex = KindHelp;
  d.flags = FlagWhiteBegins;
  d.moves = 3;
  const ProblemType out = TypeDialogOk(d, type);
  EXPECT_EQ(FormatProblemType(out), " h#3 W");
}

struct ParseCase {
  const char* text;
  bool ok;
  const char* formatted;
};

TEST(ParseProblemType, ReadsEveryTypeTextBack) {
  const ParseCase cases[] = {
      {"#2", true, "  #2"},
      {" #3", true, "  #3"},
      {"h#3", true, " h#3"},
      {"s#2", true, " s#2"},
      {"r#4", true, " r#4"},
      {"h#2 W", true, " h#2 W"},
      {"s=4 max", true, " s=4 max"},
      {"sh#5", true, "sh#5"},
      {"s #3", true, "s #3"},
      {"+", true, "+"},
      {"=", true, "="},
      {"d#2", true, "  #2"},
      {"#", false, ""},
      {"x#2", false, ""},
      {"#2W", false, ""},
      {"#2 W", false, ""},
      {"h#0", false, ""},
      {"#256", false, ""},
      {"", false, ""},
      {"hh#2", false, ""},
      {"#2 max max", false, ""},
  };
  for (const ParseCase& c : cases) {
    ProblemType type;
    type.moves = 9;
    EXPECT_EQ(ParseProblemType(c.text, type), c.ok) << c.text;
    if (c.ok) {
      EXPECT_EQ(FormatProblemType(type), c.formatted) << c.text;
    } else {
      EXPECT_EQ(type.moves, 9) << c.text;
    }
  }
}

TEST(ParseProblemType, ReadsTheWrittenFormsOfProblemists) {
  const ParseCase cases[] = {
      {"ser-h#5", true, "sh#5"},     {"ser-#7", true, "s #7"},  {"ser-s#4", true, "ss#4"},
      {"ser-=14", true, "s =14"},    {"ser-h=3", true, "sh=3"}, {"ser-r#2", true, "sr#2"},
      {"h=2.5", true, " h=3 W"},     {"h#0.5", true, " h#1 W"}, {"h#2.5 max", true, " h#3 max W"},
      {"s=3", true, " s=3"},         {"r#1", true, " r#1"},     {"#3 max", true, "  #3 max"},
      {"h=3", true, " h=3"},         {"=2", true, "  =2"},      {"ser-sh#2", false, ""},
      {"ser-", false, ""},           {"#2.5", false, ""},       {"s#1.5", false, ""},
      {"ser-h#2.5", false, ""},      {"h#2.5 W", false, ""},    {"h#2.", false, ""},
      {"h#254.5", true, " h#255 W"}, {"h#255.5", false, ""},
  };
  for (const ParseCase& c : cases) {
    ProblemType type;
    EXPECT_EQ(ParseProblemType(c.text, type), c.ok) << c.text;
    if (c.ok) {
      EXPECT_EQ(FormatProblemType(type), c.formatted) << c.text;
    }
  }
}

TEST(CanSolve, TakesEveryLengthAndGoalButNotAStudy) {
  ProblemType t;
  for (int moves : {1, 2, 6, 7, 255}) {
    t.moves = static_cast<std::uint8_t>(moves);
    EXPECT_TRUE(CanSolve(t)) << moves;
  }
  for (std::uint8_t flags :
       {FlagStalemate, FlagMaximum, std::uint8_t(FlagStalemate | FlagMaximum), FlagWhiteBegins}) {
    t.flags = flags;
    EXPECT_TRUE(CanSolve(t)) << int{flags};
  }
  t.flags = 0;
  t.moves = 0;  // a study
  EXPECT_FALSE(CanSolve(t));
}

TEST(CanSolve, TakesSeriesMoversOfEveryLengthButNotWithWhiteBeginning) {
  ProblemType t;
  t.flags = FlagSeries;
  for (int kind = KindDirect; kind <= KindReflex; ++kind) {
    t.kind = static_cast<std::uint8_t>(kind);
    for (int moves : {1, 7, 65, 255}) {
      t.moves = static_cast<std::uint8_t>(moves);
      EXPECT_TRUE(CanSolve(t)) << kind << " " << moves;
    }
  }
  t.flags = FlagSeries | FlagStalemate | FlagMaximum;
  EXPECT_TRUE(CanSolve(t));
  t.moves = 0;  // a study
  EXPECT_FALSE(CanSolve(t));
  t.moves = 5;
  t.kind = KindHelp;
  t.flags = FlagSeries | FlagWhiteBegins;
  EXPECT_FALSE(CanSolve(t));
  t.flags = FlagSeries;
  t.kind = 4;
  EXPECT_FALSE(CanSolve(t));
}

TEST(CanSolve, RefusesAKindOutsideTheFourThatADamagedFileCanHold) {
  ProblemType t;
  t.moves = 2;
  t.kind = KindReflex;
  EXPECT_TRUE(CanSolve(t));
  for (int kind : {4, 7}) {
    t.kind = static_cast<std::uint8_t>(kind);
    EXPECT_FALSE(CanSolve(t)) << kind;
  }
}

}  // namespace
}  // namespace kv
